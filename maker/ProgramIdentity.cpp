#include "maker/ProgramIdentity.h"

#include "catalogue/Catalogue.h"

#include <cstring>

ProgramIdentity identifyProgram(const char *path, char (&versionText)[VersionTextSize], std::string &company)
{
    if (!readVersionInfo(path, versionText, company))
        return ProgramIdentity::NoVersion;
    // Kestrel lists a copy when it is the maker's program and its version
    // differs from the entry's. Against an entry whose version no file can
    // carry (a part of -1 never equals a 16-bit part), that is exactly the
    // maker's program.
    WindowObject noWindow;
    Catalogue catalogue(noWindow);
    CatalogueEntry entry{};
    std::memset(entry.version, 0xFF, sizeof entry.version);
    catalogue.entries = &entry;
    catalogue.entryCount = 1;
    catalogue.matchIndex = 0;
    const bool makers = catalogue.isOutdatedProgram(path) != 0;
    catalogue.entries = nullptr;
    return makers ? ProgramIdentity::Makers : ProgramIdentity::OtherMaker;
}
