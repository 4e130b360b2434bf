#pragma once

#include "midi/MidiPorts.h"

#include <functional>
#include <juce_core/juce_core.h>
#include <vector>

/** A Marlo of our own, offered as one input and one output both named "Marlo (simulated)".

    It keeps a 93-byte preset (the factory image at start), stores the payload of every dump it is
    sent and answers every preset request with a reply from a thread of its own, as a real MIDI
    input thread would. Like a device on a 5-pin cable it takes each message's wire time (320 us a
    byte): a request is answered once it and everything sent before it has come in, a short latency
    has passed and the reply itself has gone out. Its input buffer holds at most four dumps that
    have not come in yet; more are dropped and counted, as a real buffer overflows. Its controls
    can be played: it then sends, from the same thread and in order, what its preset says each
    control sends. For tests it can also misbehave in the ways a real device or cable can.

    On a clock of the test's own it starts no thread: deliverDue() hands over, on the calling
    thread, whatever is due by that clock's time.
*/
class SimulatedMarlo final : public MidiPorts
{
public:
    static constexpr const char* deviceName = "Marlo (simulated)";

    enum class Behaviour
    {
        answer,           ///< a correct reply
        silent,           ///< never answers
        outOfRangeByte,   ///< a reply whose "Keybed MIDI Channel" byte is 127
        shortReply,       ///< a reply cut off after 50 payload bytes
        extraBytes,       ///< a correct reply with extra bytes before F7
        foreignSysexFirst ///< another manufacturer's sysex, then a correct reply
    };

    static constexpr double wireMsPerByte = 0.32;
    static constexpr int maxWaitingDumps = 4;

    /** Runs on the steady clock, with a thread of its own. */
    SimulatedMarlo();
    /** Runs on this clock (milliseconds); nothing is delivered until deliverDue() is called. */
    explicit SimulatedMarlo (std::function<double()> clockMs);
    ~SimulatedMarlo() override;

    /** With a clock of the caller's: delivers what is due by its time, on the calling thread. */
    void deliverDue();
    /** The time a message takes on the cable. */
    static double wireTimeMs (const juce::MidiMessage& message);

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<Output> openOutput (int index) override;
    SimulatedMarlo* getSimulatedMarlo() noexcept override { return this; }

    /** Plays a control as "CONTROL=VALUE" ("Knob 1=64", "Pad 5=press"): the messages go out after
        those played before. Fails, sending nothing, when the preset's control does not take it. */
    juce::Result play (const juce::String& assignment);
    /** Played messages wait while this says the receiver has no room, so that none is lost;
        null to stop waiting. After it returns the previous check is not being called. */
    void setRoomCheck (std::function<bool()> hasRoom);
    /** Sends a message from the device at once on the calling thread, as a device that does not
        care whether anyone keeps up. */
    void inject (const juce::MidiMessage& message);
    /** Played messages not yet sent. */
    int getPendingPlayCount() const;

    void setBehaviour (Behaviour newBehaviour);
    /** Stays silent for the first n - 1 requests and answers from the n-th on (n counted from 1). */
    void answerFromRequest (int n);
    void setLatencyMs (int milliseconds);
    /** The device is unplugged: no names are listed, nothing opens, sends and answers stop. */
    void vanish();
    /** Plugged in again: listed and opened as before; ports opened before the unplug work again. */
    void plugIn();
    bool isPluggedIn() const noexcept;

    juce::Array<juce::uint8> getPreset() const;
    void setPreset (const juce::Array<juce::uint8>& preset);
    int getRequestCount() const;
    int getDumpCount() const;
    /** Dumps that came while the input buffer was full, and were lost. */
    int getDroppedDumpCount() const;

private:
    class Impl;
    std::shared_ptr<Impl> impl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedMarlo)
};
