#include "app/DownloadCheck.h"

#include "catalogue/Sha256.h"
#include "catalogue/VersionInfo.h"
#include "catalogue/core/AsciiText.h"
#include "catalogue/core/VersionNumber.h"

#include <cstring>
#include <string>

bool isPromisedProgram(const char *path, const std::int32_t catalogueVersion[4])
{
    char versionText[VersionTextSize];
    std::string company;
    if (!readVersionInfo(path, versionText, company) || versionText[0] == '\0')
        return false;
    toLowerAscii(&company[0]);
    if (!findSubstring(company.c_str(), "corvel"))
        return false;
    std::int32_t parts[4];
    parseVersion(versionText, parts);
    for (int i = 0; i < 4; ++i) {
        if (parts[i] != catalogueVersion[i])
            return false;
    }
    return true;
}

bool matchesCatalogueChecksum(const char *path, const CatalogueEntry &entry)
{
    if (entry.checksumStatus != ChecksumStatus::Present)
        return true;
    Sha256Digest digest;
    return sha256OfFile(path, digest) && std::memcmp(digest.bytes, entry.checksum.bytes, Sha256Size) == 0;
}
