#pragma once

#include <juce_core/juce_core.h>

/** Reads a file that must be a regular file of bounded size, checking before it reads a byte, so
    that a device, a pipe or a huge file can neither hang the reader nor fill the memory. A link
    is followed as SymbolicLinks follows it (a stranger's link in a shared folder is refused).
*/
class RegularFile
{
public:
    /** The whole content of `file`, if it is a regular file of at most `largest` bytes. `what`
        names what the file should be in the refusal ("a preset file": "is a pipe, not a preset
        file"); a missing file is "no such file". */
    static juce::Result read (const juce::File& file, juce::int64 largest, const juce::String& what,
                              juce::MemoryBlock& content);
};
