#include "platform/midi/MidiService.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

namespace
{
/** Where the sequencer's device is; without it there is no MIDI service at all. */
constexpr const char* sequencerDevice = "/dev/snd/seq";

void dropLibraryMessage (const char*, int, const char*, int, const char*, ...) {}
} // namespace

juce::String MidiService::name()
{
    return "the ALSA sequencer " + juce::String (sequencerDevice);
}

bool MidiService::isPresent()
{
    return ::access (sequencerDevice, F_OK) == 0;
}

void MidiService::silenceLibraryMessages()
{
    snd_lib_error_set_handler (&dropLibraryMessage);
}
