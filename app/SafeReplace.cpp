#include "app/SafeReplace.h"

#include "app/RunningProgram.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

// GetTempFileNameA takes folders of at most this many characters. Beyond it
// Windows fails, and Wine answered names that changed with unrelated changes
// of the program, so the copy could land under a name nobody chose.
constexpr std::size_t LongestTemporaryFolder = MAX_PATH - 14;

bool stampFile(const char *path, const FILETIME &stamp)
{
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    // The data must be on the disk before the move makes it the program.
    return SetFileTime(file.get(), &stamp, &stamp, &stamp) && FlushFileBuffers(file.get());
}

// The running program cannot be moved over; it is moved aside instead.
bool moveIntoPlace(const char *partner, const char *target)
{
    if (isRunningProgram(target))
        return moveOverRunningProgram(partner, target);
    return MoveFileExA(partner, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool targetMayBeReplaced(const char *target)
{
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                          FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

} // namespace

bool replaceProgramFile(const char *newFile, const char *target, const FILETIME &stamp)
{
    if (!targetMayBeReplaced(target))
        return false;

    char folder[MAX_PATH];
    if (std::strlen(target) >= sizeof folder)
        return false;
    std::strcpy(folder, target);
    cutToDirectory(folder);
    if (folder[0] == '\0' || std::strlen(folder) > LongestTemporaryFolder)
        return false;

    char partner[MAX_PATH];
    if (GetTempFileNameA(folder, "kst", 0, partner) == 0)
        return false;

    const bool replaced =
        CopyFileA(newFile, partner, FALSE) && stampFile(partner, stamp) && moveIntoPlace(partner, target);
    if (!replaced)
        DeleteFileA(partner);
    return replaced;
}
