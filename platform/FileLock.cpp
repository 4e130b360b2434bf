#include "platform/FileLock.h"

#include "platform/FileDescriptor.h"
#include "platform/SymbolicLinks.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <tuple>

namespace
{
struct Held
{
    FileDescriptor descriptor;
    int count = 0;
};

/** The locks this process holds, each with the descriptor that holds it. */
template <typename Key> std::map<Key, Held>& heldLocks()
{
    static std::map<Key, Held> held;
    return held;
}

std::mutex& heldLocksMutex()
{
    static std::mutex mutex;
    return mutex;
}

/** The folder of the file found, or where that cannot be opened, the file itself. */
FileDescriptor openGuard (const SymbolicLinks::Location& where, bool& isFolder)
{
    FileDescriptor folder (::openat (where.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    isFolder = folder.isOpen();
    if (isFolder)
        return folder;
    return FileDescriptor (::openat (where.folder.get(), where.name.toRawUTF8(),
                                     O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW));
}

/** Whether the name still names the file that was locked: a rename may have replaced it while
    this process waited for the lock. */
bool stillNames (const SymbolicLinks::Location& where, const struct stat& locked)
{
    struct stat now
    {
    };
    return ::fstatat (where.folder.get(), where.name.toRawUTF8(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           now.st_dev == locked.st_dev && now.st_ino == locked.st_ino;
}

/** 0 once the lock is held; otherwise the reason. Asks again every few milliseconds rather than
    blocking, so that the wait ends when its time is up. */
int lockWithin (int descriptor, int waitMs, FileLock::GivesUp givesUp)
{
    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32)juce::jmax (0, waitMs);
    for (;;)
    {
        if (::flock (descriptor, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || juce::Time::getMillisecondCounter() >= giveUpAt)
            return errno;
        if (givesUp != nullptr && givesUp())
            return EINTR;
        juce::Thread::sleep (10);
    }
}
} // namespace

bool FileLock::Key::operator<(const Key& other) const
{
    return std::tie (device, inode, thread) < std::tie (other.device, other.inode, other.thread);
}

FileLock::FileLock (const juce::File& file, int waitMs, GivesUp givesUp)
{
    // A chain of links that cannot be followed cannot be written either; the writer says why.
    const auto where = SymbolicLinks::locate (file.getFullPathName());
    if (!where.found())
        return;

    // Locking the file itself is retried when a rename replaced it meanwhile; the bound only
    // stops a file that is replaced without end.
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        bool isFolder = true;
        auto guard = openGuard (where, isFolder);
        struct stat opened
        {
        };
        if (!guard.isOpen() || ::fstat (guard.get(), &opened) != 0)
            return;

        const Key wanted{opened.st_dev, opened.st_ino, std::this_thread::get_id()};
        {
            const std::lock_guard<std::mutex> lock (heldLocksMutex());
            auto& held = heldLocks<Key>();
            if (auto found = held.find (wanted); found != held.end())
            {
                ++found->second.count;
                key = wanted;
                return;
            }
        }

        if (const auto error = lockWithin (guard.get(), waitMs, givesUp); error != 0)
        {
            status = error == EWOULDBLOCK
                         ? juce::Result::fail ("another program is changing a file in this folder; try again")
                         : FileDescriptor::failure (error);
            return;
        }
        if (!isFolder && !stillNames (where, opened))
            continue;

        const std::lock_guard<std::mutex> lock (heldLocksMutex());
        heldLocks<Key>()[wanted] = Held{std::move (guard), 1};
        key = wanted;
        return;
    }
    status =
        juce::Result::fail ("the file was replaced again and again while this program waited to lock it");
}

FileLock::~FileLock()
{
    if (!key.has_value())
        return;
    const std::lock_guard<std::mutex> lock (heldLocksMutex());
    auto& held = heldLocks<Key>();
    // Closing the last descriptor releases the lock.
    if (auto found = held.find (*key); found != held.end() && --found->second.count == 0)
        held.erase (found);
}
