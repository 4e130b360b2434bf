#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

#include <vector>

/** Every preset a file holds: one from a ".marlo" file, and one per dump (or reply) from a ".syx"
    file of system-exclusive messages, such as a librarian's bank. Messages that carry no preset
    are passed over, as the reader of single presets passes them over.
*/
class PresetDumps
{
public:
    /** Fails when the file cannot be read or holds no valid preset; `presets` then gets none. A
        file whose every preset is valid but one is read with that one left out, and `skipped`
        says why. */
    static juce::Result read (const juce::File& file, std::vector<PresetCodec::Image>& presets,
                              juce::StringArray* skipped = nullptr);

    /** The same for bytes already read. */
    static juce::Result readBytes (const juce::MemoryBlock& content, std::vector<PresetCodec::Image>& presets,
                                   juce::StringArray* skipped = nullptr);
};
