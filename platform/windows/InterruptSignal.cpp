#include "platform/InterruptSignal.h"

#include "WindowsSystem.h"

#include <atomic>

namespace
{
std::atomic<bool> interrupted{false};
bool installed = false;

BOOL WINAPI noteInterrupt (DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interrupted = true;
    return TRUE;
}
} // namespace

void InterruptSignal::install()
{
    interrupted = false;
    // A program started with Ctrl+C ignored (a new process group, say) never gets the event, so it
    // stays ignored; Ctrl+Break always comes.
    if (!installed)
        installed = SetConsoleCtrlHandler (noteInterrupt, TRUE) != FALSE;
}

void InterruptSignal::restore()
{
    if (installed)
        SetConsoleCtrlHandler (noteInterrupt, FALSE);
    installed = false;
}

bool InterruptSignal::arrived() noexcept
{
    return interrupted;
}
