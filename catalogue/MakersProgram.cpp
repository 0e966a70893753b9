#include "catalogue/MakersProgram.h"

#include "catalogue/VersionInfo.h"
#include "catalogue/core/MakerName.h"
#include "catalogue/core/VersionNumber.h"

bool readMakersVersion(const char *path, std::int32_t version[4])
{
    VersionInfo info;
    if (!info.read(path) || !namesMaker(info.company, info.companyLength))
        return false;
    parseVersion(info.versionText, version);
    return true;
}
