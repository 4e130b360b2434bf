#pragma once

#include <juce_core/juce_core.h>

/** Moves a file to the desktop's trash, where the user can bring it back from.

    On Linux this is the freedesktop.org home trash: `$XDG_DATA_HOME/Trash` (by default
    ~/.local/share/Trash), its `files/` and `info/` folders made when missing. The entry's
    description, `info/<name>.trashinfo` with the original path and the time of deletion, is
    written first, under a name nobody holds, so that the file is never in the trash without it;
    its name in `files/` is that of the description. A file on another file system than the trash
    is refused rather than copied. On Windows the file goes to the Recycle Bin.
*/
class Trash
{
public:
    static juce::Result moveToTrash (const juce::File& file);

    /** The freedesktop.org description of a file deleted at `deletion`: its path with every byte
        but letters, digits, "/" and "-_.~" percent-encoded, and the local time without zone. */
    static juce::String describe (const juce::String& path, juce::Time deletion);
};
