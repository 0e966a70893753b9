#include "app/RunFolder.h"

#include "app/core/RunFolderName.h"
#include "toolkit/BriefHoldRetry.h"
#include "toolkit/core/TextWriter.h"

#include <windows.h>

#include <cstring>

RunFolder::~RunFolder()
{
    remove();
}

void RunFolder::remove()
{
    // A scanner may be looking into it just then.
    if (path_[0] != '\0')
        retryWhileBrieflyHeld([this]() -> DWORD { return RemoveDirectoryA(path_) ? 0 : GetLastError(); });
    path_[0] = '\0';
}

bool RunFolder::create(const char *temporaryFolder)
{
    // Counting on from a number that changes between runs keeps the search
    // short when earlier runs left folders behind.
    const unsigned start = GetTickCount() % MaxRunFolderNumber;
    for (unsigned step = 0; step < MaxRunFolderNumber; ++step) {
        const unsigned number = (start + step) % MaxRunFolderNumber + 1;
        if (!runFolderPath(temporaryFolder, number, path_, sizeof path_))
            return false;
        if (CreateDirectoryA(path_, nullptr))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    path_[0] = '\0';
    return false;
}

bool RunFolder::pathOf(const char *fileName, char *out, std::size_t outSize) const
{
    const std::size_t length = std::strlen(path_) + std::strlen(fileName);
    if (path_[0] == '\0' || length >= outSize)
        return false;
    TextWriter(out, outSize).text(path_).text(fileName);
    return true;
}
