#pragma once

#include "midi/MidiPorts.h"

/** The operating system's MIDI devices, through JUCE's MidiInput and MidiOutput. Without a MIDI
    service it lists nothing and opens nothing, quietly: the system library's own error lines are
    kept back (see MidiService), and the programs say it in their own words. */
class JuceMidiPorts final : public MidiPorts
{
public:
    JuceMidiPorts();

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<Input> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<Output> openOutput (int index) override;
};
