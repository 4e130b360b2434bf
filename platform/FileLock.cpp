#include "platform/FileLock.h"

#include "platform/FileDescriptor.h"
#include "platform/InstanceHandOver.h"

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

/** What the lock is taken on: a file in the user's own private folder named after the folder
    that holds the preset, so that only the user's own programs can take it (anybody who may read
    a folder could take a lock on the folder itself and hold up every save in it). Where there is
    no private folder, the folder itself. */
FileDescriptor openGuard (const SymbolicLinks::Location& where, const struct stat& folder)
{
    if (const auto mine = InstanceHandOver::privateFolder (InstanceHandOver::defaultBaseFolder()))
    {
        const auto name = "folder-" + juce::String (static_cast<juce::uint64> (folder.st_dev)) + "-" +
                          juce::String (static_cast<juce::uint64> (folder.st_ino)) + ".lock";
        FileDescriptor lockFile (::open (mine->getChildFile (name).getFullPathName().toRawUTF8(),
                                         O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (lockFile.isOpen())
            return lockFile;
    }
    return FileDescriptor (::openat (where.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
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
    : FileLock (SymbolicLinks::locate (file.getFullPathName()), waitMs, givesUp)
{
}

FileLock::FileLock (const SymbolicLinks::Location& where, int waitMs, GivesUp givesUp)
{
    // A chain of links that cannot be followed cannot be written either; the writer says why.
    struct stat folder
    {
    };
    if (!where.found() || ::fstat (where.folder.get(), &folder) != 0)
        return;

    // The folder keeps its inode while a save replaces the file in it by a rename.
    const Key wanted{folder.st_dev, folder.st_ino, std::this_thread::get_id()};
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

    auto guard = openGuard (where, folder);
    if (!guard.isOpen())
        return;
    if (const auto error = lockWithin (guard.get(), waitMs, givesUp); error != 0)
    {
        status = error == EWOULDBLOCK
                     ? juce::Result::fail ("another program is changing a file in this folder; try again")
                     : FileDescriptor::failure (error);
        return;
    }

    const std::lock_guard<std::mutex> lock (heldLocksMutex());
    heldLocks<Key>()[wanted] = Held{std::move (guard), 1};
    key = wanted;
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
