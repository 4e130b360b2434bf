#include "cli/InterruptRequest.h"

#include <csignal>

namespace
{
volatile std::sig_atomic_t interrupted = 0;
int installed = 0;
struct sigaction previous
{
};

extern "C" void noteInterrupt (int)
{
    interrupted = 1;
}
} // namespace

InterruptRequest::InterruptRequest()
{
    if (installed++ > 0)
        return;
    interrupted = 0;
    // Whoever started the program chose to ignore Ctrl+C for it (a script's background job, say):
    // it stays ignored.
    if (::sigaction (SIGINT, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
        return;
    struct sigaction handling
    {
    };
    handling.sa_handler = noteInterrupt;
    sigemptyset (&handling.sa_mask);
    // Calls the signal breaks are resumed; the program looks at the flag where it waits.
    handling.sa_flags = SA_RESTART;
    ::sigaction (SIGINT, &handling, &previous);
}

InterruptRequest::~InterruptRequest()
{
    if (--installed == 0)
        ::sigaction (SIGINT, &previous, nullptr);
}

bool InterruptRequest::wasRequested() noexcept
{
    return interrupted != 0;
}
