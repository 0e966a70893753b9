#include "app/DownloadCheck.h"

#include "catalogue/MakersProgram.h"
#include "catalogue/Sha256.h"

#include <cstring>

bool isPromisedProgram(const char *path, const std::int32_t catalogueVersion[4])
{
    std::int32_t parts[4];
    if (!readMakersVersion(path, parts))
        return false;
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
