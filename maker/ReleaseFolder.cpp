#include "maker/ReleaseFolder.h"

#include "catalogue/core/AsciiCase.h"
#include "catalogue/core/NamePattern.h"
#include "toolkit/KernelHandles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr char ProgramPattern[] = "*.exe";

bool nameBefore(const ReleaseFolder::Program &a, const ReleaseFolder::Program &b)
{
    return std::lexicographical_compare(a.name, a.name + std::strlen(a.name), b.name, b.name + std::strlen(b.name),
                                        [](char x, char y) {
                                            return static_cast<unsigned char>(lowerAscii(x)) <
                                                   static_cast<unsigned char>(lowerAscii(y));
                                        });
}

} // namespace

bool ReleaseFolder::read(const char *folder)
{
    kept = 0;
    found = 0;
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const std::size_t folderLength = std::strlen(folder);
    const char *separator = folderLength > 0 && (folder[folderLength - 1] == '\\' || folder[folderLength - 1] == '/')
                                ? ""
                                : "\\";
    char pattern[MAX_PATH];
    if (std::snprintf(pattern, sizeof pattern, "%s%s%s", folder, separator, ProgramPattern) >=
        static_cast<int>(sizeof pattern))
        return false;

    WIN32_FIND_DATAA entry;
    FindHandle search(FindFirstFileA(pattern, &entry));
    if (!search.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        // The platform matches the pattern against short names too, so
        // "Tool.exe_old" (short name TOOL~1.EXE) comes back with the programs.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !matchesNamePattern(entry.cFileName, ProgramPattern))
            continue;
        ++found;
        if (kept == Capacity)
            continue;
        Program &program = programs[kept];
        if (std::snprintf(program.path, sizeof program.path, "%s%s%s", folder, separator, entry.cFileName) >=
            static_cast<int>(sizeof program.path))
            return false;
        std::strcpy(program.name, entry.cFileName);
        program.lastWrite = entry.ftLastWriteTime;
        ++kept;
    } while (FindNextFileA(search.get(), &entry));
    std::sort(programs, programs + kept, nameBefore);
    return true;
}
