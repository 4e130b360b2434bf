#include "cli/InterruptRequest.h"

#include <csignal>

namespace
{
volatile std::sig_atomic_t interrupted = 0;

extern "C" void noteInterrupt (int)
{
    interrupted = 1;
}
} // namespace

InterruptRequest::InterruptRequest()
{
    interrupted = 0;
    previous = std::signal (SIGINT, noteInterrupt);
}

InterruptRequest::~InterruptRequest()
{
    std::signal (SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
}

bool InterruptRequest::wasRequested() const noexcept
{
    return interrupted != 0;
}
