#include "platform/MidiService.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

namespace
{
void dropLibraryMessage (const char*, int, const char*, int, const char*, ...) {}
} // namespace

bool MidiService::isPresent()
{
    return ::access (sequencerDevice, F_OK) == 0;
}

void MidiService::silenceLibraryMessages()
{
    snd_lib_error_set_handler (&dropLibraryMessage);
}
