#pragma once
#include <cstddef>

// The names the running program gets when an update moves a new copy in over
// it: its own name plus ".old", or, while that one cannot be deleted, ".old2"
// up to ".old9". The program deletes files so named beside itself at start.
constexpr int OldProgramNameCount = 9;

// programPath followed by the suffix of the number-th name (1: ".old",
// 2 to 9: ".old2" to ".old9") into out. False, with out empty, for a number
// outside 1 to OldProgramNameCount, an empty path, or a name that does not
// fit outSize bytes with its terminator.
bool oldProgramName(const char *programPath, int number, char *out, std::size_t outSize);
