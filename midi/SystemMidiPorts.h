#pragma once

#include "midi/MidiPorts.h"

#include <juce_core/juce_core.h>
#include <memory>

/** The devices a program offers: the system's, and the simulated Marlo beside them when asked for
    (a launch option of the editor, an option of the command-line tool). */
class SystemMidiPorts
{
public:
    static std::unique_ptr<MidiPorts> create (bool withSimulatedDevice);

    /** Why the system's devices cannot be reached at all, in a sentence for the user; empty while
        the MIDI service is there. */
    static juce::String missingService();
};
