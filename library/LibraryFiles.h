#pragma once

#include <juce_core/juce_core.h>

/** What the Library window does to one preset's file. Neither writes over a file: the new file
    is made under a name nobody holds, and only then is anything else touched.
*/
class LibraryFiles
{
public:
    /** Gives the file the name `newName` (without ".marlo") in its own group. A name another
        file holds is refused, never numbered: the user asked for that name. The file keeps its
        date. */
    static juce::Result rename (const juce::File& file, const juce::String& newName, juce::File& renamed);

    /** A copy of the file beside it, "<name> 2.marlo" (or the next number nobody holds). */
    static juce::Result duplicate (const juce::File& file, juce::File& written);
};
