#include "platform/TerminationSignals.h"

#include "WindowsSystem.h"

#include <atomic>

namespace
{
// Set once, before the handler is installed.
std::function<void()> lastWordsToSay;
std::atomic<bool> said{false};

/** The console's ways of ending the program: Ctrl+C or Ctrl+Break, its window closed, the user
    logging off, the machine shutting down. The system runs this on a thread of its own and ends
    the process once every handler declined, within the few seconds it grants. (A window's end of
    the session reaches the application as the framework's quit request instead.) */
BOOL WINAPI sayLastWords (DWORD event)
{
    switch (event)
    {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            if (lastWordsToSay != nullptr && !said.exchange (true))
                lastWordsToSay();
            break;
        default:
            break;
    }
    // The system's own handling then ends the process, as the event would have.
    return FALSE;
}
} // namespace

void TerminationSignals::install()
{
    // Windows shares no window memory that a process could leave behind.
}

void TerminationSignals::install (std::function<void()> lastWords)
{
    if (lastWordsToSay != nullptr)
        return;
    lastWordsToSay = std::move (lastWords);
    SetConsoleCtrlHandler (sayLastWords, TRUE);
}

void TerminationSignals::releaseOwnSharedMemory() noexcept {}
