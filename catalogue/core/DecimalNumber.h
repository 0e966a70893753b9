#pragma once
#include <cstdint>

// The catalogue's number rule: leading white space skipped, an optional sign,
// then digits up to the first non-digit; no digits give 0. A value beyond the
// 32-bit range is held at the nearest limit, so huge text never wraps round
// into a small, plausible number.
std::int32_t readDecimalNumber(const char *text);
