#pragma once

#include "preset/PresetCodec.h"

#include <juce_core/juce_core.h>

/** One ".marlo" file of a library as its list shows it. */
struct LibraryPreset
{
    juce::File file;
    /** The file's name without ".marlo". */
    juce::String name;
    /** The subfolders it lies in below the library's folder, "/" between them; "" at the top. */
    juce::String group;
    juce::Time modified;
    /** The 93 bytes; empty when the file could not be read. */
    PresetCodec::Image image;
    /** One line of what the preset sends ("Knobs CC 20-23 ch 1 · Pads notes 36-43 ch 10"). */
    juce::String summary;
    /** Why the file could not be read; empty when it was. */
    juce::String unreadable;
    /** "<group>/<name>" of the first preset in the list with the same 93 bytes; empty when none. */
    juce::String sameAs;

    bool isReadable() const noexcept { return unreadable.isEmpty(); }
    /** "<group>/<name>", or the name alone at the top. */
    juce::String path() const { return group.isEmpty() ? name : group + "/" + name; }
};
