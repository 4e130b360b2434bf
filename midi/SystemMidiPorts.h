#pragma once

#include "midi/MidiPorts.h"

#include <juce_core/juce_core.h>
#include <memory>

/** The devices a program offers: the system's, and when asked for (a launch option of the editor,
    an option of the command-line tool) a simulated set-up before them: the simulated Marlo, a
    loopback and a synthesizer. */
class SystemMidiPorts
{
public:
    static std::unique_ptr<MidiPorts> create (bool withSimulatedDevice);

    /** Why the system's devices cannot be reached at all, in a sentence for the user; empty while
        the MIDI service is there. */
    static juce::String missingService();
};
