#include "platform/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <sys/file.h>
#include <unistd.h>

juce::Result FileDescriptor::close()
{
    if (descriptor < 0)
        return juce::Result::ok();
    // Linux releases the descriptor even when close fails, so it is never closed twice.
    const auto closed = ::close (release());
    return closed == 0 ? juce::Result::ok() : failure (errno);
}

juce::Result FileDescriptor::writeAll (const void* data, size_t numBytes) const
{
    const auto* bytes = static_cast<const char*> (data);
    while (numBytes > 0)
    {
        const auto written = ::write (descriptor, bytes, numBytes);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return failure (errno);
        // A write of nothing sets no errno: whatever errno holds is an earlier call's.
        if (written == 0)
            return juce::Result::fail ("the system wrote nothing and gave no reason");
        bytes += written;
        numBytes -= static_cast<size_t> (written);
    }
    return juce::Result::ok();
}

juce::Result FileDescriptor::readUpTo (size_t size, juce::MemoryBlock& content) const
{
    content.setSize (size);
    size_t done = 0;
    while (done < size)
    {
        const auto got = ::read (descriptor, static_cast<char*> (content.getData()) + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure (errno);
        if (got == 0)
            break;
        done += static_cast<size_t> (got);
    }
    content.setSize (done);
    return juce::Result::ok();
}

juce::Result FileDescriptor::tryLock (bool& taken) const
{
    taken = false;
    for (;;)
    {
        if (::flock (descriptor, LOCK_EX | LOCK_NB) == 0)
        {
            taken = true;
            return juce::Result::ok();
        }
        if (errno != EINTR)
            return errno == EWOULDBLOCK ? juce::Result::ok() : failure (errno);
    }
}

juce::Result FileDescriptor::lock() const
{
    for (;;)
    {
        if (::flock (descriptor, LOCK_EX) == 0)
            return juce::Result::ok();
        if (errno != EINTR)
            return failure (errno);
    }
}
