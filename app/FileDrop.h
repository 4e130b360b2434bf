#pragma once

#include <functional>
#include <juce_core/juce_core.h>

/** Files dragged onto a document window: the preset files and system-exclusive files among them are
    taken, in the order dropped, and handed on; a drag of nothing else is not taken at all. */
class FileDrop
{
public:
    explicit FileDrop (std::function<void (const juce::StringArray& files)> takeFiles);

    /** Whether a file is one a drop opens: a preset file or a system-exclusive file. */
    static bool isDroppable (const juce::String& path);

    bool isInterestedIn (const juce::StringArray& files) const;
    void dropped (const juce::StringArray& files) const;

private:
    std::function<void (const juce::StringArray& files)> take;
};
