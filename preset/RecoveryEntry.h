#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

/** One unsaved preset kept for recovery, as it is stored: the preset as a preset file, and a
    small description (JSON) with the document's name and file.

    What is read back may have been put there by anybody who could write the folder, so reading
    takes nothing on trust: the description is bounded in size and in nesting before it is parsed
    (the parser recurses once per level), and the preset is checked as any preset file is.
*/
struct RecoveryEntry
{
    juce::String name;
    juce::File file; ///< none for a document never saved
    PresetCodec::Image image;

    /** Far more than a name and a path take. */
    static constexpr size_t largestDescription = 64 * 1024;
    /** A description is one object of strings; this leaves room and bounds the parser. */
    static constexpr int deepestDescription = 8;

    /** The description's text. */
    juce::MemoryBlock describe() const;

    /** The entry stored as `preset` and `description` (null when the description is missing:
        the preset is kept first, so a crash can leave it without one). Fails, saying why, for a
        preset that is not a valid preset file or a description that cannot be read. */
    static juce::Result read (const juce::MemoryBlock& preset, const juce::MemoryBlock* description,
                              RecoveryEntry& entry);
};
