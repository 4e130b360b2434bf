#include "platform/FileDescriptor.h"

#include <cstring>
#include <unistd.h>

FileDescriptor::FileDescriptor (int handle) : descriptor (handle) {}

FileDescriptor::FileDescriptor (FileDescriptor&& other) noexcept : descriptor (other.release()) {}

FileDescriptor& FileDescriptor::operator= (FileDescriptor&& other) noexcept
{
    if (this != &other)
    {
        close();
        descriptor = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor()
{
    close();
}

juce::Result FileDescriptor::close()
{
    if (descriptor < 0)
        return juce::Result::ok();
    // Linux releases the descriptor even when close fails, so it is never closed twice.
    const auto closed = ::close (release());
    return closed == 0 ? juce::Result::ok() : failure (errno);
}

int FileDescriptor::release()
{
    return std::exchange (descriptor, -1);
}

juce::Result FileDescriptor::failure (int error)
{
    return juce::Result::fail (juce::String (std::strerror (error)));
}
