#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

/** The one way a preset file is read and written, for the editor and the command-line tool alike.

    Reading checks the file before it reads a byte: only a regular file (a link to one is fine) of
    at most `largestFile` bytes is read, so a device, a pipe or a huge file can neither hang the
    reader nor fill the memory. The content then goes through PresetCodec, which decides the
    format. Writing goes through AtomicFile.
*/
class PresetFile
{
public:
    /** Far more than any preset takes; a file beyond it is refused unread. */
    static constexpr juce::int64 largestFile = 1 << 20;

    /** Reads the preset in `file`. On failure the reason says what is wrong, and `unreadable`, if
        given, tells a file that could not be read (missing, no regular file, too large, no
        permission) from one that holds no valid preset. */
    static juce::Result read (const juce::File& file, PresetCodec::Image& image, bool* unreadable = nullptr);

    /** The checked read alone: the whole content of a regular file of at most `largestFile` bytes. */
    static juce::Result readContent (const juce::File& file, juce::MemoryBlock& content);

    /** Replaces `file` with the preset, keeping links, owner and mode (see AtomicFile). */
    static juce::Result write (const juce::File& file, const PresetCodec::Image& image);
};
