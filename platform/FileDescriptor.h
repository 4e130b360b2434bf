#pragma once

#include <juce_core/juce_core.h>

/** Owns one open file descriptor and closes it when it goes, so that no early return of the file
    code leaks one.
*/
class FileDescriptor
{
public:
    FileDescriptor() = default;
    /** Takes a descriptor as open() returns it; -1 holds nothing. */
    explicit FileDescriptor (int descriptor);
    FileDescriptor (FileDescriptor&& other) noexcept;
    FileDescriptor& operator= (FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int get() const { return descriptor; }
    bool isOpen() const { return descriptor >= 0; }

    /** Closes now: close() reports a write the file system deferred, which a save must not miss. */
    juce::Result close();
    /** Writes all of it, however many calls that takes. */
    juce::Result writeAll (const void* data, size_t numBytes) const;
    /** Reads until `size` bytes or the end of the file, whichever comes first: a file that
        grows meanwhile cannot make the reader take more than it checked. */
    juce::Result readUpTo (size_t size, juce::MemoryBlock& content) const;

    /** Gives up ownership without closing. */
    int release();

    /** The system's reason for a failed call, from the errno that call left. */
    static juce::Result failure (int error);

private:
    int descriptor = -1;

    JUCE_DECLARE_NON_COPYABLE (FileDescriptor)
};
