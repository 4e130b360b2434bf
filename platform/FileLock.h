#pragma once

#include "platform/FileIdentity.h"
#include "platform/SymbolicLinks.h"

#include <juce_core/juce_core.h>
#include <optional>
#include <thread>

/** Keeps other processes from changing a preset file while this one reads, changes and writes it,
    so that two edits of one file at the same time never lose one of them.

    The lock belongs to the folder that holds the file the path finally names (after its links):
    saving replaces the file by a rename, which gives the path a new inode, but the folder keeps
    its own, so a waiting process cannot end up holding a lock on a file that is no longer there.
    It is the lock (FileDescriptor) of a file in the user's private folder named after that
    folder's identity: the user's own programs wait for each other, and nobody else can take it
    and hold up the user's saves (any reader of a folder could lock the folder itself). Without a
    private folder the folder itself is locked.

    Re-entrant on one thread: the writer takes the lock for every save, also under a caller that
    holds it already around a read-modify-write. The locks belong to open files, not to
    processes, so a second descriptor in the same process would otherwise wait for itself.
    Another thread of the same process waits as another process does.
*/
class FileLock
{
public:
    /** How long a lock another process holds is waited for: a stopped or hung program must not
        hang the editor's save, which then fails and says why. */
    static constexpr int defaultWaitMs = 1000;

    /** Whether to stop waiting (Ctrl+C in the command-line tool). */
    using GivesUp = bool (*)();

    /** Waits until the lock for `file` is held, at most `waitMs`, or until `givesUp` says so. */
    explicit FileLock (const juce::File& file, int waitMs = defaultWaitMs, GivesUp givesUp = nullptr);
    /** The same for a file already found, so that the folder locked is the one written. */
    explicit FileLock (const SymbolicLinks::Location& where, int waitMs = defaultWaitMs,
                       GivesUp givesUp = nullptr);
    ~FileLock();

    /** Fails with the system's reason when the lock could not be taken; nothing is held then. A
        file whose folder cannot be found has nothing to lock, and is not a failure: writing it
        fails and says why. */
    const juce::Result& getStatus() const { return status; }

private:
    struct Key
    {
        FileIdentity folder;
        std::thread::id thread;
        bool operator<(const Key& other) const;
    };

    std::optional<Key> key;
    juce::Result status = juce::Result::ok();

    JUCE_DECLARE_NON_COPYABLE (FileLock)
};
