#include "catalogue/VersionInfo.h"

#include "catalogue/core/VersionNumber.h"
#include "toolkit/KernelHandles.h"

#include <windows.h>

#include <cstring>

int readVersionInfo(const char *path, char (&versionText)[VersionTextSize], std::string &companyText)
{
    versionText[0] = '\0';
    companyText.clear();

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return 0;
    GlobalBlock block;
    if (!block.allocate(GMEM_FIXED, size) || !GetFileVersionInfoA(path, handle, size, block.get()))
        return 0;

    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.get(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    const auto *fixed = static_cast<const VS_FIXEDFILEINFO *>(value);
    formatVersion(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS), versionText, VersionTextSize);

    // The length counts characters, a terminator included when there is one.
    if (VerQueryValueA(block.get(), "\\StringFileInfo\\040904E4\\CompanyName", &value, &length) && value) {
        const char *company = static_cast<const char *>(value);
        companyText.assign(company, strnlen(company, length));
    }
    return 1;
}
