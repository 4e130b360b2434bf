#include "platform/FileDescriptor.h"

#include "WindowsSystem.h"

#include <cerrno>
#include <cstring>
#include <io.h>
#include <utility>

namespace
{
/** The byte that stands for a whole file's lock: far past any content, because the system keeps
    others from reading or writing the bytes a lock covers. */
OVERLAPPED lockedByte()
{
    OVERLAPPED where{};
    where.Offset = 0;
    where.OffsetHigh = 0x7fffffff;
    return where;
}

/** The most one call reads or writes. */
constexpr size_t chunkBytes = 1u << 30;
} // namespace

juce::Result FileDescriptor::close()
{
    if (descriptor < 0)
        return juce::Result::ok();
    // The runtime lets the descriptor go, and closes the system's handle with it, even when it fails.
    return ::_close (release()) == 0 ? juce::Result::ok() : failure (errno);
}

juce::Result FileDescriptor::writeAll (const void* data, size_t numBytes) const
{
    const auto handle = WindowsSystem::handleOf (*this);
    const auto* bytes = static_cast<const char*> (data);
    while (numBytes > 0)
    {
        DWORD written = 0;
        if (!WriteFile (handle, bytes, (DWORD)juce::jmin (numBytes, chunkBytes), &written, nullptr))
            return WindowsSystem::lastFailure();
        if (written == 0)
            return juce::Result::fail ("the system wrote nothing and gave no reason");
        bytes += written;
        numBytes -= written;
    }
    return juce::Result::ok();
}

juce::Result FileDescriptor::readUpTo (size_t size, juce::MemoryBlock& content) const
{
    const auto handle = WindowsSystem::handleOf (*this);
    content.setSize (size);
    size_t done = 0;
    while (done < size)
    {
        DWORD got = 0;
        if (!ReadFile (handle, static_cast<char*> (content.getData()) + done,
                       (DWORD)juce::jmin (size - done, chunkBytes), &got, nullptr))
        {
            if (GetLastError() == ERROR_BROKEN_PIPE || GetLastError() == ERROR_HANDLE_EOF)
                break;
            return WindowsSystem::lastFailure();
        }
        if (got == 0)
            break;
        done += got;
    }
    content.setSize (done);
    return juce::Result::ok();
}

juce::Result FileDescriptor::tryLock (bool& taken) const
{
    auto where = lockedByte();
    taken = LockFileEx (WindowsSystem::handleOf (*this), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                        0, 1, 0, &where) != FALSE;
    if (taken || GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
        return juce::Result::ok();
    return WindowsSystem::lastFailure();
}

juce::Result FileDescriptor::lock() const
{
    auto where = lockedByte();
    if (LockFileEx (WindowsSystem::handleOf (*this), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &where))
        return juce::Result::ok();
    return WindowsSystem::lastFailure();
}
