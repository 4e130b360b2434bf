#include "platform/InterruptSignal.h"

#include <csignal>

namespace
{
volatile std::sig_atomic_t interrupted = 0;
struct sigaction previous
{
};

extern "C" void noteInterrupt (int)
{
    interrupted = 1;
}
} // namespace

void InterruptSignal::install()
{
    interrupted = 0;
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

void InterruptSignal::restore()
{
    ::sigaction (SIGINT, &previous, nullptr);
}

bool InterruptSignal::arrived() noexcept
{
    return interrupted != 0;
}
