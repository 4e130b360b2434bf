#pragma once

#include <juce_core/juce_core.h>

/** The system's MIDI service as the programs meet it: whatever the framework's MIDI classes open
    (on Linux the ALSA sequencer).

    A service's library may print lines of its own at every failed attempt to reach it (ALSA's
    does, several for one device list), in words meant for its developers. The programs say what
    went wrong in their own words instead, so the library is told to keep those lines back.
*/
class MidiService
{
public:
    /** The service as a user would look for it, where it is missing ("the ALSA sequencer
        /dev/snd/seq"). */
    static juce::String name();

    /** Whether the service is there at all. */
    static bool isPresent();

    /** Hands the library's error lines to a handler that drops them, for the whole process. The
        library's error codes still reach its callers. */
    static void silenceLibraryMessages();
};
