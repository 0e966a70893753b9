#pragma once
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

// A path for the wide, "\\?\"-prefixed calls, so that trees deeper than the
// program's buffers can be built.
inline std::wstring longPath(const std::string &path)
{
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// Replaces the file at path by content, byte for byte.
inline void writeFile(const std::string &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The whole file at path; empty when it cannot be read.
inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
