#include "platform/Trash.h"

juce::Result Trash::moveToTrash (const juce::File& file)
{
    if (!file.existsAsFile())
        return juce::Result::fail ("no such file");
    // The framework's call is the shell's own delete to the Recycle Bin.
    return file.moveToTrash() ? juce::Result::ok() : juce::Result::fail ("the Recycle Bin refused it");
}
