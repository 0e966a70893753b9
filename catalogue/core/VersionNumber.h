#pragma once
#include <cstddef>
#include <cstdint>

// Version text "a.b.c.d": four numbers, most significant first.

// Reads up to four numbers separated by "."; parts after the end of the text
// are 0, and nothing after the fourth number is looked at.
void parseVersion(const char *text, std::int32_t parts[4]);

// Two versions are the same when every part is; there is no ordering, so a
// maker may go back to an earlier release on purpose.
bool sameVersion(const std::int32_t a[4], const std::int32_t b[4]);

// Writes the four parts as unsigned decimal numbers joined by ".", cut to
// outSize - 1 characters and always terminated. 24 bytes hold any version
// made of 16-bit parts.
void formatVersion(std::uint32_t part1, std::uint32_t part2, std::uint32_t part3, std::uint32_t part4,
                   char *out, std::size_t outSize);
