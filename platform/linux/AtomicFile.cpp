#include "platform/AtomicFile.h"

#include "platform/FileDescriptor.h"
#include "platform/FileLock.h"
#include "platform/SymbolicLinks.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
juce::Result failure (int error)
{
    return FileDescriptor::failure (error);
}

juce::Result notRegular()
{
    return juce::Result::fail ("it is not a regular file");
}

juce::Result syncAndClose (FileDescriptor& file)
{
    if (::fsync (file.get()) != 0)
        return failure (errno);
    return file.close();
}

juce::Result writeAndSync (FileDescriptor& file, const void* data, size_t numBytes)
{
    const auto written = file.writeAll (data, numBytes);
    return written.failed() ? written : syncAndClose (file);
}

/** Why an existing file may not be written, if it may not. */
juce::Result refusal (const SymbolicLinks::Location& where, const struct stat& existing)
{
    if (S_ISDIR (existing.st_mode))
        return failure (EISDIR);
    if (!S_ISREG (existing.st_mode))
        return notRegular();
    // The system lets the superuser write anything; a file that nobody may write was made
    // read-only on purpose, and saving over it would undo that.
    if ((existing.st_mode & 0222) == 0)
        return juce::Result::fail (juce::String (std::strerror (EACCES)) + ": the file is read-only");
    if (::faccessat (where.folder.get(), where.name.toRawUTF8(), W_OK, 0) != 0)
        return failure (errno);
    return juce::Result::ok();
}

/** Whether a new file in its place would no longer be the user's file: it would belong to the
    saving user, or the file's other names would keep the old content. */
bool mustKeepInode (const struct stat& existing)
{
    return existing.st_uid != ::geteuid() || existing.st_nlink > 1;
}

/** The old content is gone before the new is complete, so this is only for a file that a rename
    cannot replace as it is. */
juce::Result rewriteInPlace (const SymbolicLinks::Location& where, const void* data, size_t numBytes)
{
    FileDescriptor file (::openat (where.folder.get(), where.name.toRawUTF8(),
                                   O_WRONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened
    {
    };
    if (!file.isOpen() || ::fstat (file.get(), &opened) != 0)
        return failure (errno);
    if (!S_ISREG (opened.st_mode))
        return notRegular();
    if (const auto written = file.writeAll (data, numBytes); written.failed())
        return written;
    if (::ftruncate (file.get(), static_cast<off_t> (numBytes)) != 0)
        return failure (errno);
    return syncAndClose (file);
}

/** The new file beside the target; it is removed again unless it took the target's place. */
struct Sibling
{
    explicit Sibling (int folderHandle) : folder (folderHandle) {}
    ~Sibling()
    {
        if (!placed && name.isNotEmpty())
            ::unlinkat (folder, name.toRawUTF8(), 0);
    }

    /** Creates the file under a short, unused name; false with errno set when it cannot. */
    bool create()
    {
        for (int attempt = 0; attempt < 16; ++attempt)
        {
            const auto candidate =
                ".marlo-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
            const auto handle =
                ::openat (folder, candidate.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (handle >= 0)
            {
                file = FileDescriptor (handle);
                name = candidate;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    int folder;
    juce::String name;
    FileDescriptor file;
    bool placed = false;

    JUCE_DECLARE_NON_COPYABLE (Sibling)
};

/** Gives the new file the group and mode of the one it replaces; `inPlace` tells a group the
    saving user may not give. */
juce::Result keepGroupAndMode (int handle, const struct stat& existing, bool& inPlace)
{
    struct stat created
    {
    };
    if (::fstat (handle, &created) != 0)
        return failure (errno);
    if (created.st_gid != existing.st_gid && ::fchown (handle, static_cast<uid_t> (-1), existing.st_gid) != 0)
    {
        const auto error = errno;
        inPlace = error == EPERM;
        return failure (error);
    }
    // After fchown, which clears the set-id bits.
    if (::fchmod (handle, existing.st_mode & 07777) != 0)
        return failure (errno);
    return juce::Result::ok();
}

/** `inPlace` tells a failure that rewriting the file in place avoids. */
juce::Result replaceThroughSibling (int folder, const juce::String& name, const struct stat* existing,
                                    const void* data, size_t numBytes, bool& inPlace)
{
    Sibling sibling (folder);
    if (!sibling.create())
    {
        const auto error = errno;
        // A folder that takes no new file may still let the file in it be written.
        inPlace = existing != nullptr && (error == EACCES || error == EPERM || error == EROFS);
        return failure (error);
    }
    if (existing != nullptr)
        if (const auto kept = keepGroupAndMode (sibling.file.get(), *existing, inPlace); kept.failed())
            return kept;
    if (const auto written = writeAndSync (sibling.file, data, numBytes); written.failed())
        return written;
    if (::renameat (folder, sibling.name.toRawUTF8(), folder, name.toRawUTF8()) != 0)
        return failure (errno);
    sibling.placed = true;
    // The rename lives in the folder: until the folder is synced, a crash may bring the old file
    // back. A file system that cannot sync a folder says EINVAL, and has nothing to sync.
    if (::fsync (folder) != 0 && errno != EINVAL)
        return failure (errno);
    return juce::Result::ok();
}
} // namespace

juce::Result AtomicFile::replaceContent (const juce::File& file, const void* data, size_t numBytes)
{
    // Every name from here on is looked up in the folder found now, so a link put in the way
    // meanwhile is never followed.
    const auto where = SymbolicLinks::locate (file.getFullPathName());
    if (!where.found())
        return where.result();
    const FileLock lock (where);
    if (lock.getStatus().failed())
        return lock.getStatus();

    struct stat existing
    {
    };
    const auto exists =
        ::fstatat (where.folder.get(), where.name.toRawUTF8(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return failure (errno);
    // A link that took the file's place since it was found is not followed.
    if (exists && S_ISLNK (existing.st_mode))
        return failure (ELOOP);
    if (exists)
        if (const auto refused = refusal (where, existing); refused.failed())
            return refused;

    auto folder = where.openFolder();
    if (!folder.isOpen() && !exists)
        return failure (errno);
    // Without the folder's descriptor the rename could not be synced.
    if (!folder.isOpen() || (exists && mustKeepInode (existing)))
        return rewriteInPlace (where, data, numBytes);

    bool inPlace = false;
    const auto replaced = replaceThroughSibling (folder.get(), where.name, exists ? &existing : nullptr, data,
                                                 numBytes, inPlace);
    return inPlace ? rewriteInPlace (where, data, numBytes) : replaced;
}
