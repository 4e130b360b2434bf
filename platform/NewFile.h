#pragma once

#include <juce_core/juce_core.h>

/** Writes a file that must not exist yet, all at once, and never over another file.

    The data goes into a new file beside the target, is synced, and then takes the target's name
    only if nobody holds that name: on Linux `renameat2` with RENAME_NOREPLACE, or, where the file
    system refuses it, a hard link under the name followed by removing the new file's own name; on
    Windows MoveFileExW without MOVEFILE_REPLACE_EXISTING. A name taken by then, even a moment
    before, is left as it is and reported as taken, so the caller can choose another. A reader
    never sees half a file under the target's name.
*/
class NewFile
{
public:
    /** On failure the result carries the system's reason; `taken` tells that the name was held
        by another file (or folder or link), which stays as it was. */
    static juce::Result create (const juce::File& target, const void* data, size_t numBytes, bool& taken);
};
