#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

#include <vector>

/** Takes presets out of a library: into one ".syx" file with one dump each, in the order given,
    the form other librarians read; or as ".marlo" files into a folder. Neither replaces a file. */
class LibraryExport
{
public:
    /** Fails, writing nothing, when `target` exists. */
    static juce::Result toSysEx (const std::vector<PresetCodec::Image>& presets, const juce::File& target);

    /** Each preset as "<name>.marlo" in `folder` ("<name> 2.marlo" when taken); `names` gives the
        names in the order of `presets`. */
    static juce::Result toFolder (const std::vector<PresetCodec::Image>& presets,
                                  const juce::StringArray& names, const juce::File& folder);
};
