#pragma once
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// A broken invariant is a finding: say which one and abort, so libFuzzer
// keeps the input as a crash.
#define FUZZ_REQUIRE(condition)                                                        \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

// Heap blocks of exactly the size asked for, so AddressSanitizer reports a
// single byte read or written past them.
inline std::unique_ptr<char[]> exactBlock(std::size_t size)
{
    return std::unique_ptr<char[]>(new char[size]);
}

// A terminated copy of size bytes; any zero byte inside ends the text early,
// as it would in the program.
inline std::unique_ptr<char[]> terminatedCopy(const char *data, std::size_t size)
{
    std::unique_ptr<char[]> copy = exactBlock(size + 1);
    if (size > 0)
        std::memcpy(copy.get(), data, size);
    copy[size] = '\0';
    return copy;
}

// True when text holds a zero byte within its first size bytes.
inline bool terminatedWithin(const char *text, std::size_t size)
{
    return std::memchr(text, '\0', size) != nullptr;
}
