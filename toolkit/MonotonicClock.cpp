#include "toolkit/MonotonicClock.h"

#include <windows.h>

std::uint64_t monotonicMicroseconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    // Whole seconds and the rest apart, so that no product overflows.
    std::uint64_t ticks = static_cast<std::uint64_t>(now.QuadPart);
    std::uint64_t perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}
