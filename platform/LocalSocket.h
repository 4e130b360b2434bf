#pragma once

#include "platform/FileDescriptor.h"

#include <juce_core/juce_core.h>
#include <memory>
#include <vector>

/** One end of a connection between two programs of this machine, named by a socket file's path;
    it owns what the system gives it. On Linux that is a socket at that path, in a private folder
    (see InstanceHandOver), which is what keeps other users out: the socket itself is made for
    the user alone too. On Windows it is a named pipe whose name spells out the path (or, for a
    path too long for that, its start and a hash of the whole): made for the user alone, for this machine
   alone, and refused by a launch when another user made it.

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

    LocalSocket();
    LocalSocket (LocalSocket&&) noexcept;
    LocalSocket& operator= (LocalSocket&&) noexcept;
    ~LocalSocket();

    /** Whether a socket can have this file's name: a longer one would be cut short and name
        another socket. */
    static bool fits (const juce::File& file);

    /** A folder with room for a socket's name where the usual folder's path is too long. */
    static juce::File shortFolder();

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

    bool isOpen() const noexcept;

    /** The system's own end, known only to its implementation: a socket's descriptor, or a pipe
        and the connections it waits for. */
    struct Endpoint;

private:
    explicit LocalSocket (std::unique_ptr<Endpoint> opened);

    std::unique_ptr<Endpoint> endpoint;

    JUCE_DECLARE_NON_COPYABLE (LocalSocket)
};
