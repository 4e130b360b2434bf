#include "midi/CombinedMidiPorts.h"

CombinedMidiPorts::CombinedMidiPorts (std::vector<std::unique_ptr<MidiPorts>> portsToCombine)
    : parts (std::move (portsToCombine))
{
}

juce::StringArray CombinedMidiPorts::getInputNames()
{
    juce::StringArray names;
    for (auto& part : parts)
        names.addArray (part->getInputNames());
    return names;
}

juce::StringArray CombinedMidiPorts::getOutputNames()
{
    juce::StringArray names;
    for (auto& part : parts)
        names.addArray (part->getOutputNames());
    return names;
}

std::unique_ptr<MidiPorts::Input> CombinedMidiPorts::openInput (int index, juce::MidiInputCallback& callback)
{
    for (auto& part : parts)
    {
        const auto count = part->getInputNames().size();
        if (index < count)
            return index >= 0 ? part->openInput (index, callback) : nullptr;
        index -= count;
    }
    return nullptr;
}

std::unique_ptr<MidiPorts::Output> CombinedMidiPorts::openOutput (int index)
{
    for (auto& part : parts)
    {
        const auto count = part->getOutputNames().size();
        if (index < count)
            return index >= 0 ? part->openOutput (index) : nullptr;
        index -= count;
    }
    return nullptr;
}

SimulatedMarlo* CombinedMidiPorts::getSimulatedMarlo() noexcept
{
    for (auto& part : parts)
        if (auto* marlo = part->getSimulatedMarlo())
            return marlo;
    return nullptr;
}
