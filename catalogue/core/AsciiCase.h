#pragma once

// Letter case folded for texts that are ASCII by their nature, whatever the
// locale and code page: A to Z only. It finds the maker's name in a
// CompanyName, matches the search's file pattern ("*.exe"), reads the
// command line's switches and lets the maker's check tell a name's ".exe".
// File names are not compared this way: sameFileName and compareFileNames
// (catalogue/FileNameOrder) compare them as the file system does.
constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
