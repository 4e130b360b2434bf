#pragma once

#include <cstdint>

/** The heap as the benchmarks weigh it: the global allocation functions are replaced for the
    whole benchmark program, and count what they hand out. */
class HeapCount
{
public:
    /** Bytes allocated and not yet freed, in the whole process. */
    static std::int64_t liveBytes() noexcept;
    /** The most live bytes since the last resetPeak(). */
    static std::int64_t peakBytes() noexcept;
    static void resetPeak() noexcept;
    /** Whether malloc's blocks are counted as well as operator new's (not under the address
        sanitizer, which owns malloc). */
    static bool countsMalloc() noexcept;
    /** Allocations made on the calling thread since it started. */
    static std::int64_t allocationsOnThisThread() noexcept;
};
