#include "app/FileDrop.h"

#include <algorithm>

FileDrop::FileDrop (std::function<void (const juce::StringArray& files)> takeFiles)
    : take (std::move (takeFiles))
{
}

bool FileDrop::isDroppable (const juce::String& path)
{
    const auto extension = juce::File (path).getFileExtension();
    return extension.equalsIgnoreCase (".marlo") || extension.equalsIgnoreCase (".syx");
}

bool FileDrop::isInterestedIn (const juce::StringArray& files) const
{
    return std::any_of (files.begin(), files.end(), isDroppable);
}

void FileDrop::dropped (const juce::StringArray& files) const
{
    juce::StringArray presets;
    for (const auto& path : files)
        if (isDroppable (path))
            presets.add (path);

    if (!presets.isEmpty())
        take (presets);
}
