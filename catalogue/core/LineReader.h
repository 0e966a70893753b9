#pragma once
#include <cstddef>
#include <cstdint>

// Hands out the lines of text held in memory, one call at a time.
// A line ends at a line feed; carriage returns are dropped wherever they are;
// the last line needs no line feed. A line longer than lineLimit - 1
// characters comes out in pieces of lineLimit - 1 characters, each marked
// truncated.
//
// Fuzzing entry point: point cursor/end at any bytes, set lineLimit (>= 2),
// and call readLine with a buffer of lineLimit bytes until atEnd().
class LineReader {
public:
    LineReader() = default;
    LineReader(const char *data, std::size_t size, std::uint32_t lineLimit);

    bool atEnd() const { return cursor == end; }

    // Copies the next line into buffer (lineLimit bytes), terminated; returns
    // the number of characters stored. At the end stores an empty text.
    int readLine(char *buffer);

    const char *cursor = nullptr;
    const char *end = nullptr;
    std::uint32_t truncated = 0;
    std::uint32_t expandTabs = 1;
    std::uint32_t tabWidth = 8;
    std::uint32_t lineLimit = 0;
};
