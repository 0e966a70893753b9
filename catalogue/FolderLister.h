#pragma once
#include "catalogue/core/FolderListing.h"
#include "toolkit/KernelHandles.h"

// Lists a folder through the platform's directory enumeration, one entry at
// a time, for the search in catalogue/core/FolderWalk.
class FolderLister : public FolderListing {
public:
    FolderLister() = default;
    FolderLister(const FolderLister &) = delete;
    FolderLister &operator=(const FolderLister &) = delete;

    bool first(const char *folder, ListedEntry &entry) override;
    bool next(ListedEntry &entry) override;
    void close() override { listing_.close(); }

    // The platform's whole record of the entry last given out.
    const WIN32_FIND_DATAA &current() const { return found_; }

    static constexpr int SearchSpecSize = 300;

private:
    void describe(ListedEntry &entry) const;

    FindHandle listing_;
    WIN32_FIND_DATAA found_ = {};
    char searchSpec_[SearchSpecSize] = {};
};
