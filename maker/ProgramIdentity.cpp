#include "maker/ProgramIdentity.h"

#include "catalogue/core/MakerName.h"

#include <cstring>

ProgramIdentity identifyProgram(const char *path, char (&versionText)[VersionTextSize], std::string &company)
{
    VersionInfo info;
    const bool readable = info.read(path);
    std::memcpy(versionText, info.versionText, VersionTextSize);
    company.assign(info.company, strnlen(info.company, info.companyLength));
    if (!readable)
        return ProgramIdentity::NoVersion;
    // Kestrel's own rule, the one its search and its download check apply.
    return namesMaker(info.company, info.companyLength) ? ProgramIdentity::Makers : ProgramIdentity::OtherMaker;
}
