#pragma once
#include <cstdint>

// One entry of a folder listing, as the search needs it. The texts belong to
// the listing and hold until its next call.
struct ListedEntry {
    const char *name;
    // The name the file system generated for programs limited to short
    // names; empty when the entry has none.
    const char *shortName;
    std::uint32_t attributes;
    // Says what kind of reparse point the entry is; meaningful only with
    // the reparse point attribute, and 0 when the platform does not say.
    std::uint32_t reparseTag;
};

// Lists one folder at a time for the search: first, then next until it
// answers false, then close. A listing may be started again at once.
class FolderListing {
public:
    // Starts listing folder (a path ending in a backslash) and gives its
    // first entry; false when the folder cannot be listed.
    virtual bool first(const char *folder, ListedEntry &entry) = 0;
    // The next entry of the folder; false when there is none.
    virtual bool next(ListedEntry &entry) = 0;
    // Ends the listing; does nothing when none is open.
    virtual void close() = 0;

protected:
    ~FolderListing() = default;
};
