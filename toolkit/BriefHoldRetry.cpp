#include "toolkit/BriefHoldRetry.h"

HANDLE openJustWrittenFile(const char *path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    const DWORD error = retryWhileBrieflyHeld([&]() -> DWORD {
        file = CreateFileA(path, access, share, nullptr, disposition, flags, nullptr);
        return file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    });
    SetLastError(error);
    return file;
}
