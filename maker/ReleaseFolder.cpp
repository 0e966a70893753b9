#include "maker/ReleaseFolder.h"

#include "catalogue/FileNameOrder.h"
#include "catalogue/core/NamePattern.h"
#include "toolkit/CodePage.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr char ProgramPattern[] = "*.exe";

// In the order in which Kestrel tells names apart, so that two names it
// takes for one stand side by side.
bool nameBefore(const ReleaseFolder::Program &a, const ReleaseFolder::Program &b)
{
    return compareFileNames(a.name, b.name) < 0;
}

} // namespace

bool ReleaseFolder::read(const char *folder)
{
    kept = 0;
    found = 0;
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const char *separator = endsInSeparator(folder, programLeadBytes()) ? "" : "\\";
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
