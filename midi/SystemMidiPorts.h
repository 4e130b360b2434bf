#pragma once

#include "midi/MidiPorts.h"

#include <memory>

/** The devices a program offers: the system's, and the simulated Marlo beside them when asked for
    (a launch option of the editor, an option of the command-line tool). */
class SystemMidiPorts
{
public:
    static std::unique_ptr<MidiPorts> create (bool withSimulatedDevice);
};
