#pragma once

#include "midi/MidiManager.h"
#include "midi/TransferTimer.h"
#include "preset/PresetCodec.h"

#include <array>
#include <atomic>
#include <functional>
#include <juce_events/juce_events.h>
#include <memory>
#include <optional>

/** Moves a preset to and from the controller and says how it went, without widgets or alerts:
    the editor's documents turn the outcome into their alerts, the command-line tool into its exit
    code.

    A get sends the request, waits a second for the reply, then repeats the request every 750 ms;
    after the last repeat goes unanswered it gives up, seven seconds after the first request. A
    reply must start with the controller's reply header and carry a valid preset. An output that
    goes away during a get ends it at the next repeat; a device the MIDI manager closes because it
    left the device list ends it at once.

    Threads: everything runs on the message thread except midiMessageReceived, which the MIDI
    manager calls on the MIDI input thread. That call only recognises a reply and keeps its bytes;
    while a get waits, the message thread looks for a kept reply every few milliseconds, so the MIDI
    thread neither allocates nor posts anything (posting a message allocates in the framework's
    queue). Taking a reply and the timer's repeat or give-up step are decided under one
    lock, so a reply is taken exactly once and nothing follows it. Nothing is sent under that lock:
    a reply that meets a request on its way out is taken once the request is out, so the MIDI
    thread never waits for the output.
*/
class PresetTransfer final : private MidiManager::MidiManagerListener, private MidiManager::ConnectionListener
{
public:
    static constexpr int firstReplyTimeoutMs = 1000;
    static constexpr int retryIntervalMs = 750;
    static constexpr int maxRetries = 8;
    /** How often a waiting get looks for its reply. */
    static constexpr int replyWatchMs = 5;

    enum class Outcome
    {
        received,     ///< a get's valid reply; the result holds its image
        sent,         ///< the dump went out
        timedOut,     ///< no reply after the last repeat
        invalidReply, ///< a reply whose preset is refused
        midiError,    ///< the output went away during a get
        noDevice      ///< nothing was tried: the input or output it needs is not open
    };

    struct Result
    {
        Outcome outcome = Outcome::noDevice;
        /** The preset a get received; empty for every other outcome. */
        PresetCodec::Image image;
    };

    /** Neither is owned by the caller afterwards; the MIDI manager must outlive the transfer. */
    explicit PresetTransfer (MidiManager& midiManager,
                             std::unique_ptr<TransferTimer> timer = TransferTimer::createSystemTimer());
    ~PresetTransfer() override;

    /** Sends the preset's dump at once: sent, or noDevice when no output is open. */
    Outcome send (const PresetCodec::Image& image);

    /** Starts a get, which ends with one call of onGetFinished (message thread). Without an open
        input and output that call comes at once with noDevice; while a get runs this does nothing. */
    void get();
    std::function<void (const Result&)> onGetFinished;

    /** Stops listening to MIDI and ends a get in progress without a word; a reply on its way is
        dropped. */
    void detach();

    bool isAwaitingReply() const noexcept { return awaitingReply.load(); }
    bool isGetInProgress() const;
    int getRetryCount() const noexcept { return retryCount; }

    /** The dump the controller takes: the dump header, then the image. */
    static juce::Array<juce::uint8> createDumpData (const PresetCodec::Image& image);
    /** The whole message send emits, F0 to F7: what an exported file holds, byte for byte. */
    static juce::MidiMessage createDumpMessage (const PresetCodec::Image& image);

private:
    void midiMessageReceived (const juce::MidiMessage& message) override;
    void deviceLeft() override;
    void step();
    /** Ends a get with this outcome unless a reply was taken first; false when none was running. */
    bool endGet (Outcome outcome);
    /** Sends a request the caller decided on under the lock (requestGoingOut set), then takes a
        reply that came meanwhile. */
    void sendRequest();
    void applyPendingReply();
    void finish (Result result);

    /** Looks for a reply the MIDI thread kept, on the message thread, while a get waits. */
    struct ReplyWatch final : public juce::Timer
    {
        explicit ReplyWatch (PresetTransfer& t) : transfer (t) {}
        void timerCallback() override { transfer.applyPendingReply(); }
        PresetTransfer& transfer;
    };

    MidiManager& midiManager;
    std::unique_ptr<TransferTimer> timer;
    int retryCount = 0;
    std::atomic<bool> awaitingReply{false};
    bool detached = false;

    /** A reply's bytes, kept on the input's thread without allocating; read on the message
        thread. Longer than any reply needs: bytes after the preset are ignored anyway. */
    struct KeptReply
    {
        explicit KeptReply (const juce::MidiMessage& message);
        juce::MidiMessage toMessage() const { return juce::MidiMessage (bytes.data(), size); }

        std::array<juce::uint8, 128> bytes;
        int size;
    };

    // Guards the decision "take this reply" against the timer's repeat and give-up steps.
    mutable juce::CriticalSection replyLock;
    std::optional<KeptReply> pendingReply;
    bool requestGoingOut = false;
    std::optional<KeptReply> replyDuringRequest;
    ReplyWatch replyWatch{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetTransfer)
};
