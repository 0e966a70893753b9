#include "app/DownloadCheck.h"

#include "catalogue/MakersProgram.h"
#include "catalogue/core/VersionNumber.h"

bool isPromisedProgram(const char *path, const std::int32_t catalogueVersion[4])
{
    std::int32_t parts[4];
    return readMakersVersion(path, parts) && sameVersion(parts, catalogueVersion);
}
