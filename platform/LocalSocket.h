#pragma once

#include "platform/FileDescriptor.h"

#include <juce_core/juce_core.h>
#include <vector>

/** One end of a connection between two programs of this machine, through a socket file; it owns
    its descriptor. The socket file lives in a private folder (see InstanceHandOver), which is what
    keeps other users out: the socket itself is made for the user alone too.

    Nothing here waits without a bound: connecting fails at once when the listener's queue is
    full, a connected end's sends give up after a limit, receiving takes what is there.
*/
class LocalSocket
{
public:
    /** What one receive found. */
    struct Received
    {
        size_t bytes = 0;   ///< how many arrived; 0 with `ended` false: nothing yet
        bool ended = false; ///< the other end closed the connection, or it failed
    };

    LocalSocket() = default;
    LocalSocket (LocalSocket&&) noexcept = default;
    LocalSocket& operator= (LocalSocket&&) noexcept = default;

    /** Whether a socket can have this file's name: a longer one would be cut short and name
        another socket. */
    static bool fits (const juce::File& file);

    /** Listens at `file`, which must not exist, for up to `backlog` waiting connections; the socket
        file is the user's alone. */
    static juce::Result listen (const juce::File& file, int backlog, LocalSocket& listening);

    /** Connects to the socket at `file`; a send on the connection gives up after `sendLimitMs`. */
    static juce::Result connect (const juce::File& file, int sendLimitMs, LocalSocket& connected);

    /** The next connection waiting on a listening socket, if there is one; never waits. Receiving
        on it never waits either. */
    bool accept (LocalSocket& accepted) const;

    /** Sends all of it; false when the connection failed or the send limit ran out. */
    bool sendAll (const void* data, size_t numBytes) const;

    /** Receives up to `size` bytes of what has arrived. */
    Received receive (void* buffer, size_t size) const;

    /** Waits at most `timeoutMs` until one of the sockets can be read, or is closed or failed;
        says which can, or nothing when the wait itself failed. */
    static std::vector<bool> readable (const std::vector<const LocalSocket*>& sockets, int timeoutMs);

    bool isOpen() const noexcept { return descriptor.isOpen(); }

private:
    explicit LocalSocket (FileDescriptor opened) : descriptor (std::move (opened)) {}

    FileDescriptor descriptor;

    JUCE_DECLARE_NON_COPYABLE (LocalSocket)
};
