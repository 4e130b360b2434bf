#pragma once

#include "platform/FileDescriptor.h"

#include <juce_core/juce_core.h>

/** Finds the file a path names the way the system does, one name at a time through open folders,
    so that writing a preset replaces the file a link names and leaves the link as it is. Every
    implementation keeps the rule below, and hands on a folder that is open, never a path that
    could lead elsewhere by the time it is used.

    Links are followed with the rule that protects shared folders (/tmp and the like), whatever the
    system's own setting: a link in a folder that everybody may write and that has the sticky bit
    is followed only when it belongs to the user or to the folder's owner. Otherwise anybody could
    plant a link there that makes the user's program write over one of the user's own files.
    Windows has no such folders (and only the privileged make links there): its links are
    followed as the system follows them, and a link to nothing is refused rather than created.
*/
class SymbolicLinks
{
public:
    /** How many links in a row are followed before the chain counts as a loop (the kernel's own
        limit). */
    static constexpr int mostFollowed = 40;

    /** Where a path's last name lives once every link on the way is followed. */
    struct Location
    {
        /** The folder, open for lookups only: names are looked up in it, never through a path
            that could be changed meanwhile. */
        FileDescriptor folder;
        /** The folder's path without links, "" for the root. */
        juce::String folderPath;
        /** The last name, which is no link (or names nothing yet); "." for a folder itself. */
        juce::String name;
        /** 0, or why the path leads nowhere: the system's error number (errno on Linux, the last
            error on Windows), which result() words. */
        int error = 0;
        /** A link in a shared folder was refused. */
        bool sharedLink = false;

        bool found() const noexcept { return error == 0; }
        juce::Result result() const;
        /** The path of the file found, without links. */
        juce::String path() const;
        /** The folder opened anew for reading, so that it can be synced or locked (`folder` is
            open for lookups only); closed when it cannot be. */
        FileDescriptor openFolder() const;
    };

    /** What a refused link in a shared folder is called. */
    static const juce::String sharedLinkRefusal;

    /** Follows every link on the way, in the folders and at the end. A missing last name is
        found too (its folder exists): that is where a dangling link points, the file to create. */
    static Location locate (const juce::String& path);

    /** The file a name given on a command line means, looked up from `workingFolder` as the system
        would: ".." after a link to a folder leads to that folder's parent, not back to where the
        link is. (juce::File takes ".." away as text, which can name another file.) The folder
        part is resolved here; where it cannot be, the name is taken as text, and reading or
        writing it says why. */
    static juce::File fileNamed (const juce::File& workingFolder, const juce::String& name);

    /** Everything before the last separator: the folder a path's name is looked up in. */
    static juce::String folderOf (const juce::String& path);
};
