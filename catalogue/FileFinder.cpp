#include "catalogue/FileFinder.h"

#include "toolkit/CodePage.h"

namespace {

// The platform's record of a subfolder taken from the walk's own copy of
// its names and attributes.
WIN32_FIND_DATAA recordOf(const ListedEntry &subfolder)
{
    WIN32_FIND_DATAA found = {};
    found.dwFileAttributes = subfolder.attributes;
    found.dwReserved0 = subfolder.reparseTag;
    lstrcpynA(found.cFileName, subfolder.name, sizeof found.cFileName);
    lstrcpynA(found.cAlternateFileName, subfolder.shortName, sizeof found.cAlternateFileName);
    return found;
}

} // namespace

FileFinder::FileFinder() : FolderWalk(programLeadBytes()) {}

void FileFinder::onBackInFolder() {}

int FileFinder::onFile(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onEnterFolder(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onSubfolder(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onSearchEnd() { return 0; }

int FileFinder::search(const char *root, const char *pattern, int maxDepth, int includeSystemFolders)
{
    return walk(root, pattern, maxDepth, includeSystemFolders, lister_);
}

int FileFinder::folderEntered(const ListedEntry *subfolder)
{
    if (!subfolder)
        return onEnterFolder(WIN32_FIND_DATAA{});
    return onEnterFolder(recordOf(*subfolder));
}

int FileFinder::subfolderFound(const ListedEntry &subfolder)
{
    return onSubfolder(recordOf(subfolder));
}
