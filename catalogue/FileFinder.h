#pragma once
#include "catalogue/FolderLister.h"
#include "catalogue/core/FolderWalk.h"

#include <windows.h>

// The folder search over the platform's directory listing: the walk of
// catalogue/core/FolderWalk (its order, skips and depth limit), with hooks
// that receive the platform's own record of each entry.
class FileFinder : private FolderWalk {
public:
    // Splits paths by the program's code page (programLeadBytes).
    FileFinder();
    virtual ~FileFinder() = default;

    // Searches root (a folder path ending in a backslash) and the folders
    // down to maxDepth levels below it for files matching pattern ("*" and
    // "?", letter case ignored: see matchesNamePattern), passing over files
    // whose contents are kept elsewhere (see hasContentsHere). Folders whose
    // names begin with "." are never entered, system folders only with
    // includeSystemFolders, and junctions, directory links and mount points
    // never, while cloud-synced folders are (see isEnterableFolder). Returns
    // 1 if a hook stopped the search, else 0. Not re-entrant: one search per
    // finder at a time.
    int search(const char *root, const char *pattern, int maxDepth, int includeSystemFolders);

protected:
    // After a subfolder has been searched and folder is back at its parent.
    virtual void onBackInFolder();
    // A matching entry of the current folder that is not a directory.
    virtual int onFile(const WIN32_FIND_DATAA &found);
    // Once for the root (found then holds nothing) and once for each
    // subfolder right after folder and depth have moved into it (found then
    // holds the subfolder's names and attributes only).
    virtual int onEnterFolder(const WIN32_FIND_DATAA &found);
    // A subfolder about to be entered, before folder changes (found as for
    // onEnterFolder).
    virtual int onSubfolder(const WIN32_FIND_DATAA &found);
    // Once after the whole tree has been searched, unless a hook stopped the
    // search; non-zero makes search report a stop.
    virtual int onSearchEnd();

    // Only meaningful during a search; the hooks read them.
    using FolderWalk::depth;
    using FolderWalk::folder;

private:
    void backInFolder() override { onBackInFolder(); }
    int fileFound(const ListedEntry &) override { return onFile(lister_.current()); }
    int folderEntered(const ListedEntry *subfolder) override;
    int subfolderFound(const ListedEntry &subfolder) override;
    int walkEnded() override { return onSearchEnd(); }

    FolderLister lister_;
};
