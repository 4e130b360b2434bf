#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Writes the pictures into a folder as PNG files, and text files beside them; a picture or file
    that cannot be written is said on stderr and makes the run fail. */
class ArtworkWriter final
{
public:
    explicit ArtworkWriter (juce::File folder) : folder (std::move (folder)) {}

    juce::File fileFor (const juce::String& name) const { return folder.getChildFile (name + ".png"); }

    // Refuses to change the pixel size of a picture that is already there: the editor places the
    // pictures by their sizes.
    void write (const juce::String& name, const juce::Image& image);

    void writeText (const juce::String& fileName, const juce::String& text);

    bool hasFailed() const { return failed; }

private:
    juce::File folder;
    bool failed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ArtworkWriter)
};
