#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueLocalTime.h"
#include "catalogue/TextFileReader.h"
#include "catalogue/VersionInfo.h"
#include "catalogue/core/AsciiText.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/VersionNumber.h"

#include <cstring>
#include <string>

namespace {

constexpr char AppName[] = "Kestrel";

} // namespace

Catalogue::Catalogue(WindowObject &messageOwner) : messageOwner_(messageOwner) {}

bool Catalogue::allocateEntries()
{
    if (!entriesBlock_.allocate(GMEM_FIXED | GMEM_ZEROINIT, MaxCatalogueEntries * sizeof(CatalogueEntry))) {
        entries = nullptr;
        return false;
    }
    entries = static_cast<CatalogueEntry *>(entriesBlock_.get());
    entryCount = 0;
    matchIndex = 0;
    return true;
}

void Catalogue::freeEntries()
{
    entriesBlock_.free();
    entries = nullptr;
    entryCount = 0;
    matchIndex = 0;
}

int Catalogue::checkCatalogueVersion(const char *path)
{
    TextFileReader reader;
    if (!reader.openFile(path, CatalogueLineLimit)) {
        messageOwner_.showWarning("Can't open file", path);
        return 0;
    }
    reader.expandTabs = 0;
    const bool found = hasCompatibilityToken(reader);
    reader.release();
    if (!found) {
        messageOwner_.showWarning(
            "Your version of Kestrel needs to be updated.\nGo to the Internet and get the latest version.", AppName);
        return 0;
    }
    return 1;
}

int Catalogue::loadCatalogue(const char *path)
{
    entryCount = 0;
    if (!entries) {
        messageOwner_.showWarning("Not enough memory for the catalogue.", AppName);
        return 0;
    }
    TextFileReader reader;
    if (!reader.openFile(path, CatalogueLineLimit)) {
        messageOwner_.showWarning("Can't open file", path);
        return 0;
    }
    reader.expandTabs = 0;
    const CatalogueReadResult result =
        readCatalogueEntries(reader, entries, MaxCatalogueEntries, localTimeToUtc, nullptr);
    reader.release();
    entryCount = result.entryCount;
    switch (result.status) {
    case CatalogueReadStatus::Complete:
        return 1;
    case CatalogueReadStatus::BadDateTime:
        messageOwner_.showWarning("Can't convert date / time.", entries[entryCount].fileName);
        return 0;
    case CatalogueReadStatus::TooManyEntries:
        messageOwner_.showWarning("The catalogue lists more than 100 programs.", AppName);
        return 0;
    }
    return 0;
}

int Catalogue::findEntryByName(const char *fileName)
{
    for (matchIndex = 0; matchIndex < entryCount; ++matchIndex)
        if (lstrcmpiA(fileName, entries[matchIndex].fileName) == 0)
            return 1;
    return 0;
}

int Catalogue::isOutdatedProgram(const char *fullPath)
{
    if (!entries || matchIndex < 0 || matchIndex >= entryCount)
        return 0;
    char versionText[VersionTextSize];
    std::string company;
    readVersionInfo(fullPath, versionText, company);
    if (versionText[0] == '\0')
        return 0;
    toLowerAscii(company.data());
    if (!findSubstring(company.c_str(), "corvel"))
        return 0;
    std::int32_t installed[4];
    parseVersion(versionText, installed);
    const std::int32_t *listed = entries[matchIndex].version;
    return installed[0] != listed[0] || installed[1] != listed[1] || installed[2] != listed[2] ||
           installed[3] != listed[3];
}
