#include "app/DownloadCheck.h"

#include "catalogue/MakersProgram.h"

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
