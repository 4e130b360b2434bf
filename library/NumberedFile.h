#pragma once

#include <juce_core/juce_core.h>

#include <map>

/** Writes new files into a library without ever replacing one: "<name>.marlo", else
    "<name> 2.marlo", "<name> 3.marlo" and on, the first name nobody holds at the moment of the
    write (a name taken meanwhile, by another program too, gets the next number).

    It remembers the last number each name reached, so that many presets of one name (a ".syx"
    file's hundred dumps) do not try every taken number again.
*/
class NumberedFile
{
public:
    /** Writes `content` as a new file named after `name` in `folder`, which is made if missing;
        `written` is the file made. */
    juce::Result write (const juce::File& folder, const juce::String& name, const juce::String& extension,
                        const juce::MemoryBlock& content, juce::File& written);

    /** "<name>" for 1, "<name> <number>" beyond. */
    static juce::String numbered (const juce::String& name, int number);

private:
    std::map<juce::String, int> reached;
};
