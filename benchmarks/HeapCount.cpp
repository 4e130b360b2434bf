#include "HeapCount.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

// Live heap bytes of the whole process, counted by replacing the global allocation functions,
// so one document's tree can be weighed.
namespace
{
std::atomic<std::int64_t> liveBytes{0};
std::atomic<std::int64_t> peakBytes{0};

thread_local std::int64_t allocationsHere = 0;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool countsMalloc = false;
#else
constexpr bool countsMalloc = true;
#endif

void* allocate (std::size_t size)
{
    if (!countsMalloc)
        ++allocationsHere;
    void* block = std::malloc (size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();

    const auto now = liveBytes.fetch_add (static_cast<std::int64_t> (malloc_usable_size (block))) +
                     static_cast<std::int64_t> (malloc_usable_size (block));
    auto peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak (peak, now))
    {
    }
    return block;
}

void release (void* block) noexcept
{
    if (block == nullptr)
        return;
    liveBytes.fetch_sub (static_cast<std::int64_t> (malloc_usable_size (block)));
    std::free (block);
}
} // namespace

void* operator new (std::size_t size)
{
    return allocate (size);
}

void* operator new[] (std::size_t size)
{
    return allocate (size);
}

void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return allocate (size);
    }
    catch (...)
    {
        return nullptr;
    }
}

void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return allocate (size);
    }
    catch (...)
    {
        return nullptr;
    }
}

void operator delete (void* block) noexcept
{
    release (block);
}

void operator delete[] (void* block) noexcept
{
    release (block);
}

void operator delete (void* block, std::size_t) noexcept
{
    release (block);
}

void operator delete[] (void* block, std::size_t) noexcept
{
    release (block);
}

#if !defined(__SANITIZE_ADDRESS__)
// The framework's own blocks (messages, arrays, strings) come from malloc, not from operator new, so
// both are counted. Under the address sanitizer, which owns malloc, only operator new is.
extern "C"
{
    void* __libc_malloc (std::size_t);
    void* __libc_calloc (std::size_t, std::size_t);
    void* __libc_realloc (void*, std::size_t);

    void* malloc (std::size_t size)
    {
        ++allocationsHere;
        return __libc_malloc (size);
    }

    void* calloc (std::size_t count, std::size_t size)
    {
        ++allocationsHere;
        return __libc_calloc (count, size);
    }

    void* realloc (void* block, std::size_t size)
    {
        ++allocationsHere;
        return __libc_realloc (block, size);
    }
}
#endif

std::int64_t HeapCount::liveBytes() noexcept
{
    return ::liveBytes.load();
}

std::int64_t HeapCount::peakBytes() noexcept
{
    return ::peakBytes.load();
}

void HeapCount::resetPeak() noexcept
{
    ::peakBytes = ::liveBytes.load();
}

bool HeapCount::countsMalloc() noexcept
{
    return ::countsMalloc;
}

std::int64_t HeapCount::allocationsOnThisThread() noexcept
{
    return allocationsHere;
}
