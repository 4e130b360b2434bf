#pragma once

#include <juce_core/juce_core.h>

/** Replaces a file's content all at once, and keeps the file the user means.

    The data goes into a new file beside the target, which then takes the target's place, so a
    failed write never leaves half a file behind. The new file's name is short, so it fits wherever
    the target's name fits (the framework's own temporary names add to the target's name and fail
    for long ones).

    What stays as it was:
    - a symbolic link, or a chain of them: the file it finally names is replaced. A link in a
      shared folder that neither the user nor the folder's owner made is refused (see
      SymbolicLinks);
    - an existing file's owner, group and mode. Where a new file cannot keep them (another user
      owns the file, its group cannot be given), where it would split a hard link, or where the
      folder takes no new file (or cannot be opened to be synced), the file is rewritten in place
      instead: one write of the whole content, cut to its length;
    - a file that may not be written: by the system's permissions, or with no write bit at all,
      which refuses the superuser too, who the system would let through.

    The data and, after a rename, the folder are synced before success is reported. The writer
    takes the FileLock of the file for the whole change.

    On Windows the new file is flushed and then takes the target's place with ReplaceFileW, which
    keeps the file's access list and attributes (or, for a new file, MoveFileExW written through),
    and the file in the target's place is flushed again. The old file waits under a backup name
    until the new one is in place, so a replace that stops half way leaves the target one of the
    two. A file with the read-only attribute is refused, and one with other names (hard links), in
    a folder that takes no new file, or that the user may write but not delete, is rewritten in
    place.
*/
class AtomicFile
{
public:
    /** On failure the result carries the system's reason for the call that failed. */
    static juce::Result replaceContent (const juce::File& target, const void* data, size_t numBytes);
};
