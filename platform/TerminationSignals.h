#pragma once

#include <functional>

/** What happens when the system ends the editor with a signal.

    The framework shares each window's pixels with the X server through System V shared memory,
    and it removes a segment only when the window's picture is destroyed. A process ended by
    SIGTERM or SIGHUP (a logout, a `kill`, a closed terminal) never gets there: its segments, a
    window's worth of memory each, stay behind until the machine restarts. The handler installed
    here marks the segments this process made for removal, so that they go as soon as the process
    and the X server let go of them, and then lets the signal end the process as it would have.
    (SIGINT is the framework's own: it quits through the message loop, which frees them anyway.)

    Windows has no such memory and no such signals. There the end of the session reaches the
    application as the framework's quit request, through its windows; the console's events
    (Ctrl+C, its window closed, logging off, shutting down) run the last words before the system
    ends the process.
*/
class TerminationSignals final
{
public:
    TerminationSignals() = delete;

    /** Installs the handler for SIGTERM and SIGHUP, except where the signal is ignored. Does
        nothing where there is no such memory. */
    static void install();

    /** The same, and before the signal ends the process, `lastWords` runs on a thread of its own
        (the handler only writes a byte into a pipe, which that thread waits on). It must return
        within a bounded time: the process ends only after it. */
    static void install (std::function<void()> lastWords);

    /** Marks every shared memory segment that this process created for removal. Only system
        calls, so that a signal handler may call it. */
    static void releaseOwnSharedMemory() noexcept;
};
