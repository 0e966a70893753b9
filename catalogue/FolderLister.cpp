#include "catalogue/FolderLister.h"

#include "catalogue/core/EntryChoice.h"

#include <cstring>

static_assert(IsReparseTagNameSurrogate(NameSurrogateTagBit), "the core's name-surrogate bit is the platform's");

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
