#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

/** The one way a preset file is read and written, for the editor and the command-line tool alike.

    Reading checks the file before it reads a byte: only a regular file (a link to one is fine,
    unless it is a stranger's link in a shared folder) of at most `largestFile` bytes is read, so a
    device, a pipe or a huge file can neither hang the reader nor fill the memory. A preset file as
    the editor saves it goes through PresetCodec; anything else (a ".syx" file another MIDI program
    wrote) through SysExReader, which finds the preset among its messages. Writing goes through
    AtomicFile.
*/
class PresetFile
{
public:
    /** Far more than any preset takes; a file beyond it is refused unread. */
    static constexpr juce::int64 largestFile = 1 << 20;

    /** What the choosers that open a preset offer. */
    static constexpr const char* openPattern = "*.marlo;*.syx";

    /** How a read went besides its result. */
    struct Reading
    {
        /** The file could not be read (missing, no regular file, too large, no permission), as
            opposed to holding no valid preset. */
        bool unreadable = false;
        /** The file is not exactly a preset file: saving must not write over it. */
        bool foreign = false;
        /** The presets found; a file of system-exclusive messages may hold several, and only the
            first is read. */
        int presets = 0;
    };

    /** Reads the preset in `file`. On failure the reason says what is wrong. */
    static juce::Result read (const juce::File& file, PresetCodec::Image& image, Reading* reading = nullptr);

    /** Whether `file` is readable and holds something other than exactly a preset file. */
    static bool isForeign (const juce::File& file);
    /** Whether `file` exists and cannot be shown to be exactly a preset file: one that cannot be
        read now (too large, no permission) may still be another program's. */
    static bool mayBeForeign (const juce::File& file);

    /** The checked read alone: the whole content of a regular file of at most `largestFile` bytes. */
    static juce::Result readContent (const juce::File& file, juce::MemoryBlock& content);

    /** Replaces `file` with the preset, keeping links, owner and mode (see AtomicFile). */
    static juce::Result write (const juce::File& file, const PresetCodec::Image& image);
};
