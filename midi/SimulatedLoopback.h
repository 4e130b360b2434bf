#pragma once

#include "midi/MidiPorts.h"

#include <juce_core/juce_core.h>

/** A loopback of our own, offered as one input and one output both named "Loopback (simulated)":
    every message sent to its output comes straight back on its input, as virtual cables and some
    interfaces do. Whatever listens for the controller must not take it for one. */
class SimulatedLoopback final : public MidiPorts
{
public:
    static constexpr const char* deviceName = "Loopback (simulated)";

    SimulatedLoopback();
    ~SimulatedLoopback() override;

    juce::StringArray getInputNames() override { return juce::StringArray (deviceName); }
    juce::StringArray getOutputNames() override { return juce::StringArray (deviceName); }
    /** Every input open on it hears what its output is sent, on the sender's thread. */
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<Output> openOutput (int index) override;

private:
    class Cable;
    std::shared_ptr<Cable> cable;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedLoopback)
};
