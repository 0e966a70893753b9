#include "catalogue/VersionInfo.h"

#include "catalogue/core/VersionNumber.h"

bool VersionInfo::read(const char *path)
{
    versionText[0] = '\0';
    company = "";
    companyLength = 0;
    block_.free();

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return false;
    if (!block_.allocate(GMEM_FIXED, size) || !GetFileVersionInfoA(path, handle, size, block_.get()))
        return false;

    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_.get(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const auto *fixed = static_cast<const VS_FIXEDFILEINFO *>(value);
    formatVersion(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS), versionText, VersionTextSize);

    // The length counts characters, a terminator included when there is one.
    if (VerQueryValueA(block_.get(), "\\StringFileInfo\\040904E4\\CompanyName", &value, &length) && value) {
        company = static_cast<const char *>(value);
        companyLength = length;
    }
    return true;
}
