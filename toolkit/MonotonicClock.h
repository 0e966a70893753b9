#pragma once
#include <cstdint>

// Microseconds of the performance counter: never set back, so fit for
// measuring intervals, and meaningless as a time of day.
std::uint64_t monotonicMicroseconds();
