#pragma once
#include "toolkit/FileIdentity.h"
#include "toolkit/HeapArray.h"

// The identities of each listed copy's folder and program file, taken when
// the search listed it. The Update replaces a copy only where both are still
// the same: a folder swapped for a link to another one since the search, or
// a program replaced by a link, is refused. Each list line carries, as its
// item data, the key of its copy here.
struct ListedCopy {
    FileIdentity folder;
    FileIdentity program;
};

class ListedCopies {
public:
    // No copy has the key 0: a line without item data has no identities.
    static constexpr LPARAM NoCopy = 0;

    ListedCopies() = default;
    ListedCopies(const ListedCopies &) = delete;
    ListedCopies &operator=(const ListedCopies &) = delete;

    void clear() { count_ = 0; }
    // The new copy's key; NoCopy when memory is short.
    LPARAM add(const ListedCopy &copy);
    // The copy under key, or nullptr.
    const ListedCopy *find(LPARAM key) const;

    // Reads both identities of a copy found at path, in folder.
    static bool identify(const char *folder, const char *path, ListedCopy &copy);

private:
    HeapArray<ListedCopy> copies_;
    SIZE_T count_ = 0;
};
