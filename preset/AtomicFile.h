#pragma once

#include <juce_core/juce_core.h>

/** Replaces a file's content all at once: the data goes into a new file beside the target, which
    then takes the target's place, so a failed write never leaves half a file behind.

    The new file's name is short, so it fits wherever the target's name fits (the framework's
    own temporary names add to the target's name and fail for long ones).
*/
class AtomicFile
{
public:
    /** On failure the result carries the system's reason. */
    static juce::Result replaceContent (const juce::File& target, const void* data, size_t numBytes);
};
