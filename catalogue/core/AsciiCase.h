#pragma once

// Letter case folded the way file names, file patterns and the maker's name
// are compared here: A to Z only, whatever the locale.
constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
