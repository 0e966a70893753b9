#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueLocalTime.h"
#include "catalogue/KeptIssueTime.h"
#include "catalogue/MakersProgram.h"
#include "catalogue/Sha256.h"
#include "catalogue/SignatureVerifier.h"
#include "catalogue/TextFileReader.h"
#include "catalogue/core/Base64.h"
#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CatalogueExpiry.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/CatalogueSizes.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/SectionWalker.h"
#include "catalogue/core/SignedCatalogue.h"
#include "catalogue/core/VersionNumber.h"
#include "resources/MessageCaption.h"
#include "resources/ResourceIds.h"
#include "toolkit/ResourceText.h"

#include <cstring>

namespace {

constexpr char NotSignedByTheMaker[] = "The catalogue is not signed by the maker.";

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

int Catalogue::readCatalogue(const char *path, const char *catalogueUrl, const char *makerKey)
{
    entryCount = 0;
    if (!entries) {
        messageOwner_.showWarning("Not enough memory for the catalogue.", MessageCaption);
        return 0;
    }
    TextFileReader file;
    if (!file.openFile(path, CatalogueLineLimit)) {
        char text[40];
        loadMessageText(IDS_CANT_OPEN_FILE, text, sizeof text);
        messageOwner_.showWarning(text, path);
        return 0;
    }
    const bool signedMode = makerKey[0] != '\0';
    std::size_t readable = file.dataSize;
    if (signedMode && !checkSignature(file.data(), readable, catalogueUrl, makerKey))
        return 0;

    // Each check reads its own copy of the reader from the start.
    const LineReader lines = catalogueLines(file.data(), readable);
    CalendarTime issued{};
    if ((signedMode && !checkIssueTime(lines, catalogueUrl, issued)) ||
        !checkExpiry(lines, signedMode, issued, catalogueUrl) || !checkCatalogueVersion(lines) || !loadCatalogue(lines) ||
        !checkChecksums(lines, signedMode) || !checkSizes(lines, signedMode))
        return 0;
    // Only a catalogue that passed every check moves the kept time on, so a
    // newer one that fails later cannot lock the user out of the good one.
    if (signedMode)
        keepIssueTime(issued);
    return 1;
}

int Catalogue::checkIssueTime(LineReader lines, const char *catalogueUrl, CalendarTime &issued)
{
    const CatalogueIssued read = readCatalogueIssued(lines);
    if (read.status != IssuedStatus::Readable) {
        messageOwner_.showWarning(NotSignedByTheMaker, catalogueUrl);
        return 0;
    }
    // The same time again is accepted: it is the catalogue already in use.
    CalendarTime kept;
    if (readKeptIssueTime(kept) && issuedBefore(read.time, kept)) {
        char text[80];
        loadMessageText(IDS_OLDER_CATALOGUE, text, sizeof text);
        messageOwner_.showWarning(text, catalogueUrl);
        return 0;
    }
    issued = read.time;
    return 1;
}

namespace {

// True when signature was made over digest with the key whose base64 text is
// the first length characters of keyText.
bool signedWith(const char *keyText, std::size_t length, const Sha256Digest &digest,
                const unsigned char (&signature)[P256SignatureSize])
{
    unsigned char key[P256PublicKeySize];
    std::size_t keySize = 0;
    SignatureVerifier verifier;
    return decodeBase64(keyText, length, key, sizeof key, keySize) && keySize == sizeof key &&
           verifier.importPublicKey(key) && verifier.verify(digest, signature);
}

} // namespace

int Catalogue::checkSignature(const char *data, std::size_t &size, const char *catalogueUrl, const char *makerKey)
{
    const SignedCatalogue split = splitSignedCatalogue(data, size);
    Sha256Digest digest;
    bool signedByMaker = false;
    if (split.status == SignatureStatus::WellFormed && sha256OfMemory(data, split.signedSize, digest)) {
        // makerKey holds one key, or two separated by ',' while the maker
        // changes keys: a signature by either will do.
        for (const char *keyText = makerKey;;) {
            const std::size_t keyLength = std::strcspn(keyText, ",");
            signedByMaker = signedWith(keyText, keyLength, digest, split.signature);
            if (signedByMaker || keyText[keyLength] == '\0')
                break;
            keyText += keyLength + 1;
        }
    }
    if (!signedByMaker) {
        messageOwner_.showWarning(NotSignedByTheMaker, catalogueUrl);
        return 0;
    }
    size = split.signedSize;
    return 1;
}

int Catalogue::checkExpiry(LineReader lines, bool mustExpire, const CalendarTime &issued, const char *catalogueUrl)
{
    const CatalogueExpiry expiry = readCatalogueExpiry(lines);
    // A signed catalogue without a readable date could be replayed for ever.
    if (mustExpire && expiry.status != ExpiryStatus::Readable) {
        messageOwner_.showWarning(NotSignedByTheMaker, catalogueUrl);
        return 0;
    }
    CalendarTime issuedDay;
    if (mustExpire && expiry.status == ExpiryStatus::Readable &&
        (!utcCalendarToLocal(issued, issuedDay) || issuedAfterLastDay(expiry.lastDay, issuedDay))) {
        messageOwner_.showWarning(NotSignedByTheMaker, catalogueUrl);
        return 0;
    }
    if (expiry.status == ExpiryStatus::NoSection)
        return 1;
    if (expiry.status == ExpiryStatus::Unreadable || isExpired(expiry.lastDay, localToday())) {
        messageOwner_.showWarning("The catalogue has expired.", catalogueUrl);
        return 0;
    }
    return 1;
}

int Catalogue::checkCatalogueVersion(LineReader lines)
{
    if (!hasCompatibilityToken(lines)) {
        messageOwner_.showWarning("Your version of Kestrel needs to be updated.\n"
                                  "Go to the Internet and get the latest version.",
                                  MessageCaption);
        return 0;
    }
    return 1;
}

int Catalogue::loadCatalogue(LineReader lines)
{
    const CatalogueReadResult result = readCatalogueEntries(lines, entries, MaxCatalogueEntries, localTimeToUtc, nullptr);
    entryCount = result.entryCount;
    switch (result.status) {
    case CatalogueReadStatus::Complete:
        return 1;
    case CatalogueReadStatus::BadDateTime:
        messageOwner_.showWarning("Can't convert date / time.", entries[entryCount].fileName);
        return 0;
    case CatalogueReadStatus::TooManyEntries:
        messageOwner_.showWarning("The catalogue lists more than 100 programs.", MessageCaption);
        return 0;
    }
    return 0;
}

int Catalogue::checkChecksums(LineReader lines, bool required)
{
    readCatalogueChecksums(lines, entries, entryCount, sameFileName);
    return !required || everyEntryHas([](const CatalogueEntry &entry) {
        return entry.checksumStatus == ChecksumStatus::Present;
    }, "The catalogue has no checksum for this program.");
}

int Catalogue::checkSizes(LineReader lines, bool required)
{
    readCatalogueSizes(lines, entries, entryCount, sameFileName);
    if (!required)
        return 1;
    char text[64];
    loadMessageText(IDS_NO_SIZE, text, sizeof text);
    return everyEntryHas([](const CatalogueEntry &entry) { return entry.sizeStatus == SizeStatus::Present; }, text);
}

int Catalogue::everyEntryHas(bool (*present)(const CatalogueEntry &), const char *missingText)
{
    for (int index = 0; index < entryCount; ++index) {
        if (!present(entries[index])) {
            messageOwner_.showWarning(missingText, entries[index].fileName);
            entryCount = 0;
            return 0;
        }
    }
    return 1;
}

int Catalogue::findEntryByName(const char *fileName)
{
    for (matchIndex = 0; matchIndex < entryCount; ++matchIndex)
        if (sameFileName(fileName, entries[matchIndex].fileName))
            return 1;
    return 0;
}

int Catalogue::isOutdatedProgram(const char *fullPath)
{
    if (!entries || matchIndex < 0 || matchIndex >= entryCount)
        return 0;
    std::int32_t installed[4];
    if (!readMakersVersion(fullPath, installed))
        return 0;
    return !sameVersion(installed, entries[matchIndex].version);
}
