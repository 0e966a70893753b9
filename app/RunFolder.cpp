#include "app/RunFolder.h"

#include "app/AdministratorsOnlyAccess.h"

#include "app/core/RunFolderName.h"
#include "toolkit/BriefHoldRetry.h"
#include "toolkit/FileByHandle.h"
#include "toolkit/ProcessElevation.h"
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
        retryWhileBrieflyHeld([this]() -> DWORD { return removeIfStill(path_, identity_) ? 0 : GetLastError(); });
    path_[0] = '\0';
}

bool RunFolder::create(const char *temporaryFolder)
{
    AdministratorsOnlyAccess access;
    SECURITY_ATTRIBUTES *attributes = nullptr;
    if (runsElevated()) {
        if (!access.build())
            return false;
        attributes = access.attributes();
    }
    // Counting on from a number that changes between runs keeps the search
    // short when earlier runs left folders behind.
    const unsigned start = GetTickCount() % MaxRunFolderNumber;
    for (unsigned step = 0; step < MaxRunFolderNumber; ++step) {
        const unsigned number = (start + step) % MaxRunFolderNumber + 1;
        if (!runFolderPath(temporaryFolder, number, path_, sizeof path_))
            return false;
        if (CreateDirectoryA(path_, attributes)) {
            // One whose identity cannot be read is left: nothing is removed
            // by a path not proven to be Kestrel's.
            if (identityOfPath(path_, identity_))
                return true;
            break;
        }
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
