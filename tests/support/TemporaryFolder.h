#pragma once

#include <juce_core/juce_core.h>

/** A folder of its own for each test, removed afterwards. */
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        folder =
            juce::File::getSpecialLocation (juce::File::tempDirectory)
                .getChildFile ("marlo-app-test-" + juce::String::toHexString (juce::Random().nextInt64()));
        folder.createDirectory();
    }

    ~TemporaryFolder() { folder.deleteRecursively(); }

    const juce::File& get() const noexcept { return folder; }
    juce::File operator/ (const juce::String& name) const { return folder.getChildFile (name); }

private:
    juce::File folder;
};
