#include "platform/midi/MidiService.h"

// The framework's Windows MIDI goes through the multimedia library (winmm.dll), which is part of
// every Windows and which the programs link: the service is always there, though it may list no
// device. It reports failures through its return codes and prints nothing of its own.

juce::String MidiService::name()
{
    return "Windows MIDI (winmm.dll)";
}

bool MidiService::isPresent()
{
    return true;
}

void MidiService::silenceLibraryMessages() {}
