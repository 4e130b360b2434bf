#pragma once

#include "midi/MidiPorts.h"

/** The operating system's MIDI devices, through JUCE's MidiInput and MidiOutput. */
class JuceMidiPorts final : public MidiPorts
{
public:
    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<Output> openOutput (int index) override;
};
