#include "platform/FileDescriptor.h"

#include <cstring>
#include <utility>

// What owning a descriptor means is the same on every system; closing it, reading, writing and
// locking are each system's own.

FileDescriptor::FileDescriptor (Handle handle) : descriptor (handle) {}

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

FileDescriptor::Handle FileDescriptor::release()
{
    return std::exchange (descriptor, -1);
}

juce::Result FileDescriptor::failure (int error)
{
    return juce::Result::fail (juce::String (std::strerror (error)));
}
