#include "midi/SystemMidiPorts.h"

#include "midi/CombinedMidiPorts.h"
#include "midi/JuceMidiPorts.h"
#include "midi/SimulatedLoopback.h"
#include "midi/SimulatedMarlo.h"
#include "midi/SimulatedSynthesizer.h"
#include "platform/midi/MidiService.h"

#include <vector>

std::unique_ptr<MidiPorts> SystemMidiPorts::create (bool withSimulatedDevice)
{
    if (!withSimulatedDevice)
        return std::make_unique<JuceMidiPorts>();
    // The simulated Marlo first in both lists, wherever the system's devices come and go; beside
    // it, what a controller must not be taken for: a loopback and a synthesizer.
    std::vector<std::unique_ptr<MidiPorts>> parts;
    parts.push_back (std::make_unique<SimulatedMarlo>());
    parts.push_back (std::make_unique<SimulatedLoopback>());
    parts.push_back (std::make_unique<SimulatedSynthesizer>());
    parts.push_back (std::make_unique<JuceMidiPorts>());
    return std::make_unique<CombinedMidiPorts> (std::move (parts));
}

juce::String SystemMidiPorts::missingService()
{
    if (MidiService::isPresent())
        return {};
    return "there is no MIDI service (" + MidiService::name() + " is missing)";
}
