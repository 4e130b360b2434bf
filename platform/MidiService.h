#pragma once

/** The system's MIDI service as the programs meet it: on Linux the ALSA sequencer, which the
    framework's MIDI classes open.

    The ALSA library prints a line of its own to stderr at every failed attempt to reach the
    sequencer (several for one device list), in words meant for its developers. The programs say
    what went wrong in their own words instead, so the library is told to keep those lines back.
*/
class MidiService
{
public:
    /** Where the sequencer's device is; without it there is no MIDI service at all. */
    static constexpr const char* sequencerDevice = "/dev/snd/seq";

    /** Whether the sequencer's device exists. */
    static bool isPresent();

    /** Hands the library's error lines to a handler that drops them, for the whole process. The
        library's error codes still reach its callers. */
    static void silenceLibraryMessages();
};
