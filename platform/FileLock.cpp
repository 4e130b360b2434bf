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

/** The folder of `target`, or where that cannot be opened, the file itself. */
FileDescriptor openGuard (const juce::String& target, bool& isFolder)
{
    FileDescriptor folder (
        ::open (SymbolicLinks::folderOf (target).toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    isFolder = folder.isOpen();
    if (isFolder)
        return folder;
    return FileDescriptor (
        ::open (target.toRawUTF8(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW));
}

/** Whether the path still names the file that was locked: a rename may have replaced it while
    this process waited for the lock. */
bool stillNames (const juce::String& target, const struct stat& locked)
{
    struct stat now
    {
    };
    return ::stat (target.toRawUTF8(), &now) == 0 && now.st_dev == locked.st_dev &&
           now.st_ino == locked.st_ino;
}

/** 0 once the lock is held; otherwise the reason. Asks again every few milliseconds rather than
    blocking, so that the wait ends when its time is up. */
int lockWithin (int descriptor, int waitMs)
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
        juce::Thread::sleep (10);
    }
}
} // namespace

bool FileLock::Key::operator<(const Key& other) const
{
    return std::tie (device, inode, thread) < std::tie (other.device, other.inode, other.thread);
}

FileLock::FileLock (const juce::File& file, int waitMs)
{
    juce::String target;
    // A chain of links that cannot be followed cannot be written either; the writer says why.
    if (SymbolicLinks::follow (file.getFullPathName(), target).failed())
        return;

    // Locking the file itself is retried when a rename replaced it meanwhile; the bound only
    // stops a file that is replaced without end.
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        bool isFolder = true;
        auto guard = openGuard (target, isFolder);
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

        if (const auto error = lockWithin (guard.get(), waitMs); error != 0)
        {
            status = error == EWOULDBLOCK
                         ? juce::Result::fail ("another program is changing a file in this folder; try again")
                         : FileDescriptor::failure (error);
            return;
        }
        if (!isFolder && !stillNames (target, opened))
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
