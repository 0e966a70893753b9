#include "app/DownloadCheck.h"

#include "catalogue/MakersProgram.h"
#include "catalogue/Sha256.h"
#include "catalogue/core/VersionNumber.h"

#include <cstring>

bool isPromisedProgram(const char *path, const std::int32_t catalogueVersion[4])
{
    std::int32_t parts[4];
    return readMakersVersion(path, parts) && sameVersion(parts, catalogueVersion);
}

bool matchesCatalogueChecksum(const char *path, const CatalogueEntry &entry)
{
    if (entry.checksumStatus != ChecksumStatus::Present)
        return true;
    Sha256Digest digest;
    return sha256OfFile(path, digest) && std::memcmp(digest.bytes, entry.checksum.bytes, Sha256Size) == 0;
}
