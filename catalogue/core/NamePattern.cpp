#include "catalogue/core/NamePattern.h"

#include "catalogue/core/AsciiCase.h"

bool matchesNamePattern(const char *name, const char *pattern)
{
    // Greedy matching with one point to come back to: the last "*" met and
    // the name position it has swallowed up to. Linear in practice, and never
    // recursive, whatever the pattern.
    const char *starPattern = nullptr;
    const char *starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern && (*pattern == '?' || lowerAscii(*pattern) == lowerAscii(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}
