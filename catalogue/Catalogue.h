#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/FileNameOrder.h"
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/LineReader.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/WindowObject.h"

#include <cstddef>

// The list of the maker's programs read from the catalogue file, and the
// identification of installed copies against it. Warnings go to the window
// of the object given at construction.
class Catalogue {
public:
    explicit Catalogue(WindowObject &messageOwner);
    Catalogue(const Catalogue &) = delete;
    Catalogue &operator=(const Catalogue &) = delete;

    // One zero-filled block of MaxCatalogueEntries records; 1 on success.
    bool allocateEntries();
    // Frees the block; safe to call twice.
    void freeEntries();

    // Reads the catalogue at path, fetched from catalogueUrl, after checking
    // it, in this order, each refusal ending the reading with a warning and
    // the result 0:
    //  - with makerKey (base64 of the maker's public key, or of two keys
    //    separated by ","; empty for none): its signature by a key of
    //    makerKey, after which only the signed bytes are read;
    //  - when signed, its issue time: needed, and not before the newest
    //    one this user's Kestrel has used (KeptIssueTime);
    //  - its expiry date (needed when signed; checked when present);
    //  - its compatibility token (checkCatalogueVersion);
    //  - its entries (loadCatalogue); entryCount holds the records filled;
    //  - the entries' checksums (each entry needs one when signed);
    //  - the entries' sizes (likewise; held when given in any case).
    // 1 when every check passed; a signed catalogue's issue time is then
    // kept as the newest one used.
    int readCatalogue(const char *path, const char *catalogueUrl, const char *makerKey);

    // 1 if some entry's fileName equals fileName, ignoring case; matchIndex
    // is then the first such entry, else entryCount.
    int findEntryByName(const char *fileName);
    // 1 if the program at fullPath is the maker's (readMakersVersion) and its
    // file version differs from entry matchIndex's.
    int isOutdatedProgram(const char *fullPath);

    CatalogueEntry *entries = nullptr;
    int entryCount = 0;
    int matchIndex = 0;

private:
    // The private checks get their own copy of the reader, at the start.
    int checkSignature(const char *data, std::size_t &size, const char *catalogueUrl, const char *makerKey);
    int checkIssueTime(LineReader lines, const char *catalogueUrl, CalendarTime &issued);
    // A signed catalogue (mustExpire) also has its issue time checked
    // against its last day (issuedAfterLastDay).
    int checkExpiry(LineReader lines, bool mustExpire, const CalendarTime &issued, const char *catalogueUrl);
    // 1 if the catalogue is meant for this Kestrel.
    int checkCatalogueVersion(LineReader lines);
    // Reads every entry: 1 on success.
    int loadCatalogue(LineReader lines);
    int checkChecksums(LineReader lines, bool required);
    int checkSizes(LineReader lines, bool required);
    // 1 when present holds for every entry; else warns with missingText,
    // captioned with the first failing entry's name, and empties the catalogue.
    int everyEntryHas(bool (*present)(const CatalogueEntry &), const char *missingText);

    WindowObject &messageOwner_;
    GlobalBlock entriesBlock_;
};
