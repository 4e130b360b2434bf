#pragma once

#include "midi/MidiManager.h"
#include "midi/SendSchedule.h"
#include "midi/TransferTimer.h"
#include "preset/PresetCodec.h"

#include <functional>
#include <memory>
#include <optional>

/** The one way a preset dump goes to the controller, whoever asks: Send Preset, each committed
    change while "Send Changes to Controller" is on, and a preset chosen in a library.

    Only the newest preset waits, never a queue: a newer one replaces whatever had not gone out.
    A Send Preset goes at once, a change when SendSchedule says (after a pause, within a bound);
    either waits for the previous dump's wire time, and nothing goes out while a get or a compare
    runs (what waits goes once it ends). When a change finds the output closed, sending changes
    turns itself off and says so once, not once per edit.

    Time comes from the clock and the timer it is given, so tests drive it without waiting.
    Message thread only.
*/
class PresetSender
{
public:
    /** Who a preset came from: told when it went out, and when it is the last of a burst. */
    class Client
    {
    public:
        virtual ~Client() = default;
        /** The preset went out to this output. */
        virtual void presetSent (const juce::String& outputName) = 0;
        /** The last preset sent has been followed by no newer one for a pause (at once after a
            Send Preset): what the controller should hold now. */
        virtual void sendingSettled (const PresetCodec::Image& image) = 0;
    };

    /** Milliseconds since any fixed moment. */
    using Clock = std::function<double()>;

    /** The manager must outlive the sender. */
    explicit PresetSender (MidiManager& midiManager,
                           std::unique_ptr<TransferTimer> timer = TransferTimer::createSystemTimer(),
                           Clock clockMs = &juce::Time::getMillisecondCounterHiRes);
    ~PresetSender();

    /** Send Preset: out at once unless a dump is on the wire or a get runs. False, with nothing
        waiting, when no output is open. */
    bool send (const PresetCodec::Image& image, Client& client);
    /** A committed change; ignored while sending changes is off. */
    void changed (const PresetCodec::Image& image, Client& client);
    /** A preset chosen to be heard (the library's Send on Select): paced as changes are, so that a
        held key sends only the newest, whether or not changes are sent. False when no output is
        open. */
    bool select (const PresetCodec::Image& image, Client& client);
    /** The client's waiting preset is no longer what it holds (a get replaced it): it is not sent. */
    void dropWaiting (Client& client);

    void setSendingChanges (bool shouldSend);
    bool isSendingChanges() const noexcept { return sendingChanges; }
    /** Called once when a change found the output closed; sending changes is off by then. */
    std::function<void()> onSendingChangesFailed;

    /** Whether each client gets the preset back after the last send of a burst and checks it;
        the sender only carries the choice, the same for every document. */
    void setVerifying (bool shouldVerify) noexcept { verifying = shouldVerify; }
    bool isVerifying() const noexcept { return verifying; }

    /** A get or compare starts or ends: nothing goes out in between. */
    void getStarted();
    void getEnded();

    /** The client is going away: nothing it sent is told to it any more, and its waiting preset
        stays unsent. */
    void forget (Client& client);

    bool isWaiting() const noexcept { return waiting.has_value(); }
    int getDumpsSent() const noexcept { return dumpsSent; }

private:
    struct Waiting
    {
        PresetCodec::Image image;
        Client* client = nullptr;
        /** A Send Preset: due as soon as the wire and gets allow, not after a pause. */
        bool atOnce = false;
    };

    void take (const PresetCodec::Image& image, Client& client, bool atOnce);
    void tick();
    /** When the waiting preset may go; empty when none waits or a get holds it. */
    std::optional<double> sendDueAt() const;
    std::optional<double> nextWake() const;
    void rearm();
    void sendWaiting (double now);
    void settle();

    MidiManager& midi;
    std::unique_ptr<TransferTimer> timer;
    Clock clock;
    SendSchedule schedule;
    std::optional<Waiting> waiting;
    bool sendingChanges = false;
    bool verifying = false;
    int getsRunning = 0;
    int dumpsSent = 0;

    // The last preset sent and when its burst counts as ended; cleared by a newer change.
    PresetCodec::Image lastSent;
    Client* lastClient = nullptr;
    std::optional<double> settlesAt;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetSender)
};
