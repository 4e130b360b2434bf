#pragma once

#include <juce_core/juce_core.h>

/** Finds the file a path finally names when it is a symbolic link, or a chain of them, so that
    writing a preset replaces that file and leaves the links as they are.
*/
class SymbolicLinks
{
public:
    /** How many links in a row are followed before the chain counts as a loop (the kernel's own
        limit). */
    static constexpr int mostFollowed = 40;

    /** Sets `target` to the path the last link of the chain names, or to `path` itself when it is
        no link. A link to a missing file is followed to that missing file, which saving then
        creates. The paths are kept as the links spell them: a relative link is read from the
        folder the link is in, with ".." left for the system to resolve, as it does through a link.
        Fails with the system's reason (a loop, a link that cannot be read). */
    static juce::Result follow (const juce::String& path, juce::String& target);

    /** The file a name given on a command line means, looked up from `workingFolder` as the system
        would: ".." after a link to a folder leads to that folder's parent, not back to where the
        link is. (juce::File takes ".." away as text, which can name another file.) The folder
        part is resolved by the system; where it does not exist the name is taken as text. */
    static juce::File fileNamed (const juce::File& workingFolder, const juce::String& name);

    /** Everything before the last '/': the folder a path's name is looked up in. */
    static juce::String folderOf (const juce::String& path);
};
