#pragma once
#include "catalogue/CatalogueEntry.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/WindowObject.h"

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

    // 1 if the catalogue at path is meant for this Kestrel; otherwise a
    // warning has been shown and the result is 0.
    int checkCatalogueVersion(const char *path);
    // Reads every entry of the catalogue at path: 1 on success, 0 after a
    // warning. entryCount holds the records filled either way.
    int loadCatalogue(const char *path);

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
    WindowObject &messageOwner_;
    GlobalBlock entriesBlock_;
};
