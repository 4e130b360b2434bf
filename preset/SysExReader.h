#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

/** Finds the Marlo's preset among the system-exclusive messages that another MIDI program saved:
    a librarian's bank, a monitor's capture, a sequencer's export.

    Such files hold other makers' messages, identity replies, bytes before the first message and
    real-time bytes (clock, active sensing) that a capture interleaves even inside a message. The
    reader splits the bytes into messages, drops the real-time bytes wherever they stand, and takes
    the first message that carries the Marlo's preset: its header with command 61 (a dump, as Send
    and the files write it) or 63 (the controller's reply) and at least the 93 preset bytes after
    it. Bytes beyond them are ignored, as a reply's are. The preset's bytes are checked as the
    codec checks every preset.
*/
class SysExReader
{
public:
    /** What the bytes held besides the preset taken. */
    struct Summary
    {
        /** Messages begun by F0, complete or cut short, empty ones included. */
        int messages = 0;
        /** Messages that carry a whole preset; only the first is read. */
        int presets = 0;
    };

    /** Reads the first preset in `data`. On failure `image` is left as it was and the reason says
        why: no preset among the messages, or the preset's byte that is out of range. */
    static juce::Result read (const void* data, size_t size, PresetCodec::Image& image,
                              Summary* summary = nullptr);
};
