#pragma once

#include <juce_core/juce_core.h>

/** Owns one open file, folder or socket of the system and closes it when it goes, so that no early
    return of the file code leaks one. Every open file of the programs is held by one of these.

    It also takes the lock of the file it holds: an exclusive lock that belongs to this open file
    (not to the process, so a second open file of the same process waits as another process
    would), held until the file is closed, and dropped by the system when the process ends however
    it ends. Every lock of the programs is taken here.
*/
class FileDescriptor
{
public:
    /** What the system calls an open file: a descriptor as open() returns it (on Windows the C
        runtime's descriptor over the system's handle, so that the code shared by every system
        sees the same kind of thing). */
    using Handle = int;

    FileDescriptor() = default;
    /** Takes a handle as the system returns it; -1 holds nothing. */
    explicit FileDescriptor (Handle descriptor);
    FileDescriptor (FileDescriptor&& other) noexcept;
    FileDescriptor& operator= (FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    Handle get() const { return descriptor; }
    bool isOpen() const { return descriptor >= 0; }

    /** Closes now: close() reports a write the file system deferred, which a save must not miss. */
    juce::Result close();
    /** Writes all of it, however many calls that takes. */
    juce::Result writeAll (const void* data, size_t numBytes) const;
    /** Reads until `size` bytes or the end of the file, whichever comes first: a file that
        grows meanwhile cannot make the reader take more than it checked. */
    juce::Result readUpTo (size_t size, juce::MemoryBlock& content) const;

    /** Takes the file's lock if it is free; `taken` says whether it was. Another holder is no
        failure: the result fails only when the lock cannot be taken at all. */
    juce::Result tryLock (bool& taken) const;
    /** Takes the file's lock, waiting for as long as another open file holds it. */
    juce::Result lock() const;

    /** Gives up ownership without closing. */
    Handle release();

    /** The reason for an error number of <cerrno>, as the C library words it. */
    static juce::Result failure (int error);

private:
    Handle descriptor = -1;

    JUCE_DECLARE_NON_COPYABLE (FileDescriptor)
};
