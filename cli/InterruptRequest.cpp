#include "cli/InterruptRequest.h"

#include "platform/InterruptSignal.h"

namespace
{
int installed = 0;
} // namespace

InterruptRequest::InterruptRequest()
{
    if (installed++ == 0)
        InterruptSignal::install();
}

InterruptRequest::~InterruptRequest()
{
    if (--installed == 0)
        InterruptSignal::restore();
}

bool InterruptRequest::wasRequested() noexcept
{
    return InterruptSignal::arrived();
}
