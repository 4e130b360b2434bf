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
