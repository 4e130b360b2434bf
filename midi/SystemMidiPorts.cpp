#include "midi/SystemMidiPorts.h"

#include "midi/CombinedMidiPorts.h"
#include "midi/JuceMidiPorts.h"
#include "midi/SimulatedMarlo.h"
#include "platform/midi/MidiService.h"

#include <vector>

std::unique_ptr<MidiPorts> SystemMidiPorts::create (bool withSimulatedDevice)
{
    if (!withSimulatedDevice)
        return std::make_unique<JuceMidiPorts>();
    std::vector<std::unique_ptr<MidiPorts>> parts;
    parts.push_back (std::make_unique<JuceMidiPorts>());
    parts.push_back (std::make_unique<SimulatedMarlo>());
    return std::make_unique<CombinedMidiPorts> (std::move (parts));
}

juce::String SystemMidiPorts::missingService()
{
    if (MidiService::isPresent())
        return {};
    return "there is no MIDI service (" + MidiService::name() + " is missing)";
}
