#pragma once

#include "midi/MidiPorts.h"

#include <vector>

/** Several device services listed as one: the names of the first, then those of the second, ... */
class CombinedMidiPorts final : public MidiPorts
{
public:
    explicit CombinedMidiPorts (std::vector<std::unique_ptr<MidiPorts>> parts);

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<Output> openOutput (int index) override;
    SimulatedMarlo* getSimulatedMarlo() noexcept override;

private:
    std::vector<std::unique_ptr<MidiPorts>> parts;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CombinedMidiPorts)
};
