#pragma once

#include "midi/MidiPorts.h"

#include <functional>
#include <juce_core/juce_core.h>
#include <vector>

/** A Marlo of our own, offered as one input and one output both named "Marlo (simulated)".

    It keeps a 93-byte preset (the factory image at start), stores the payload of every dump it is
    sent and answers every preset request with a reply from a thread of its own after a short
    latency, as a real MIDI input thread would. Its controls can be played: it then sends, from
    the same thread and in order, what its preset says each control sends. For tests it can also
    misbehave in the ways a real device or cable can.
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

    SimulatedMarlo();
    ~SimulatedMarlo() override;

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

    juce::Array<juce::uint8> getPreset() const;
    void setPreset (const juce::Array<juce::uint8>& preset);
    int getRequestCount() const;
    int getDumpCount() const;

private:
    class Impl;
    std::shared_ptr<Impl> impl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedMarlo)
};
