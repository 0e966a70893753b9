#pragma once
#include <cstdint>

// The unattended runs' log: one line per event, so a text of several lines
// (a box's paragraphs) is made one.

// A log longer than this is moved aside to "<name>.1" before the next line.
constexpr std::uint64_t LogRollOverSize = 1024 * 1024;

// Turns each run of line breaks and tabs in text into one space, in place,
// and drops those at its end.
void flattenLogText(char *text);
