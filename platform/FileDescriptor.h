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
    /** Gives up ownership without closing. */
    int release();

    /** The system's reason for a failed call, from the errno that call left. */
    static juce::Result failure (int error);

private:
    int descriptor = -1;

    JUCE_DECLARE_NON_COPYABLE (FileDescriptor)
};
