#include "platform/FileLock.h"

#include "platform/InstanceHandOver.h"
#include "platform/PrivateFolder.h"

#include <cerrno>
#include <map>
#include <mutex>
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
FileDescriptor openGuard (const SymbolicLinks::Location& where, const FileIdentity& folder)
{
    PrivateFolder mine;
    if (InstanceHandOver::openPrivateFolder (InstanceHandOver::defaultBaseFolder(), mine).wasOk())
    {
        const auto name =
            "folder-" + juce::String (folder.device) + "-" + juce::String (folder.file) + ".lock";
        FileDescriptor lockFile;
        if (mine.openLockFile (name, lockFile).wasOk())
            return lockFile;
    }
    return where.openFolder();
}

/** Ok once the lock is held; otherwise the reason. Asks again every few milliseconds rather than
    blocking, so that the wait ends when its time is up. */
juce::Result lockWithin (const FileDescriptor& guard, int waitMs, FileLock::GivesUp givesUp)
{
    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32)juce::jmax (0, waitMs);
    for (;;)
    {
        bool taken = false;
        if (const auto tried = guard.tryLock (taken); tried.failed() || taken)
            return tried;
        if (juce::Time::getMillisecondCounter() >= giveUpAt)
            return juce::Result::fail ("another program is changing a file in this folder; try again");
        if (givesUp != nullptr && givesUp())
            return FileDescriptor::failure (EINTR);
        juce::Thread::sleep (10);
    }
}
} // namespace

bool FileLock::Key::operator<(const Key& other) const
{
    return std::tie (folder, thread) < std::tie (other.folder, other.thread);
}

FileLock::FileLock (const juce::File& file, int waitMs, GivesUp givesUp)
    : FileLock (SymbolicLinks::locate (file.getFullPathName()), waitMs, givesUp)
{
}

FileLock::FileLock (const SymbolicLinks::Location& where, int waitMs, GivesUp givesUp)
{
    // A chain of links that cannot be followed cannot be written either; the writer says why.
    const auto folder = where.found() ? FileIdentity::of (where.folder) : std::nullopt;
    if (!folder.has_value())
        return;

    // The folder keeps its identity while a save replaces the file in it by a rename.
    const Key wanted{*folder, std::this_thread::get_id()};
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

    auto guard = openGuard (where, *folder);
    if (!guard.isOpen())
        return;
    if (status = lockWithin (guard, waitMs, givesUp); status.failed())
        return;

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
