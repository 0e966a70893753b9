#include "catalogue/FolderLister.h"

#include "catalogue/core/EntryChoice.h"

#include <cstring>

// The core's attribute bits are the platform's; some are missing from older
// headers.
#ifndef FILE_ATTRIBUTE_RECALL_ON_OPEN
#define FILE_ATTRIBUTE_RECALL_ON_OPEN 0x00040000
#endif
#ifndef FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
#define FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS 0x00400000
#endif
static_assert(FileAttribute::System == FILE_ATTRIBUTE_SYSTEM && FileAttribute::Directory == FILE_ATTRIBUTE_DIRECTORY
              && FileAttribute::ReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT
              && FileAttribute::Offline == FILE_ATTRIBUTE_OFFLINE
              && FileAttribute::RecallOnOpen == FILE_ATTRIBUTE_RECALL_ON_OPEN
              && FileAttribute::RecallOnDataAccess == FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
              && IsReparseTagNameSurrogate(NameSurrogateTagBit));

bool FolderLister::first(const char *folder, ListedEntry &entry)
{
    std::size_t length = std::strlen(folder);
    if (length + 2 > sizeof searchSpec_)
        return false;
    std::memcpy(searchSpec_, folder, length);
    std::strcpy(searchSpec_ + length, "*");
    // The reparse tag is only written for reparse points, and under Wine
    // never: the record is cleared so that a stale tag is never read.
    found_ = WIN32_FIND_DATAA{};
    listing_.reset(FindFirstFileA(searchSpec_, &found_));
    if (!listing_.valid())
        return false;
    describe(entry);
    return true;
}

bool FolderLister::next(ListedEntry &entry)
{
    found_ = WIN32_FIND_DATAA{};
    if (!listing_.valid() || !FindNextFileA(listing_.get(), &found_))
        return false;
    describe(entry);
    return true;
}

void FolderLister::describe(ListedEntry &entry) const
{
    entry.name = found_.cFileName;
    entry.shortName = found_.cAlternateFileName;
    entry.attributes = found_.dwFileAttributes;
    entry.reparseTag = found_.dwReserved0;
}
