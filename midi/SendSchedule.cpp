#include "midi/SendSchedule.h"

#include <algorithm>

void SendSchedule::changed (double now) noexcept
{
    if (!firstUnsent.has_value())
        firstUnsent = now;
    lastChange = now;
}

void SendSchedule::sent (double now, int bytes) noexcept
{
    firstUnsent.reset();
    wireFree = std::max (wireFree, now) + bytes * wireMsPerByte;
}

void SendSchedule::clear() noexcept
{
    firstUnsent.reset();
}

std::optional<double> SendSchedule::dueAt() const noexcept
{
    if (!firstUnsent.has_value())
        return std::nullopt;
    const auto settled = std::min (lastChange + quietMs, *firstUnsent + longestWaitMs);
    return std::max (settled, wireFree);
}

bool SendSchedule::isDue (double now) const noexcept
{
    const auto due = dueAt();
    return due.has_value() && now >= *due;
}
