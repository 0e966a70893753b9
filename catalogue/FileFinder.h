#pragma once
#include <windows.h>

class FindHandle;

// A depth-first, pre-order walk of a folder tree that hands every file
// matching a name pattern to onFile. Subclasses hook in at four points; any
// hook but onBackInFolder can stop the walk by returning non-zero.
//
// The walk holds one open directory enumeration per level and no list of
// paths, so its memory does not grow with the size of the tree.
class FileFinder {
public:
    FileFinder() = default;
    FileFinder(const FileFinder &) = delete;
    FileFinder &operator=(const FileFinder &) = delete;
    virtual ~FileFinder() = default;

    // Searches root (a folder path ending in a backslash) and the folders
    // down to maxDepth levels below it for files matching pattern (the
    // platform's matching: letter case ignored). Folders whose names begin
    // with "." are never entered, system folders only with
    // includeSystemFolders. Returns 1 if a hook stopped the search, else 0.
    // Not re-entrant: one search per finder at a time.
    int search(const char *root, const char *pattern, int maxDepth, int includeSystemFolders);

    static constexpr int folderSize = 260;
    static constexpr int searchSpecSize = 300;

protected:
    // After a subfolder has been searched and folder is back at its parent.
    virtual void onBackInFolder();
    // A matching entry of the current folder that is not a directory.
    virtual int onFile(const WIN32_FIND_DATAA &found);
    // Once for the root (found then holds nothing) and once for each
    // subfolder right after folder and depth have moved into it.
    virtual int onEnterFolder(const WIN32_FIND_DATAA &found);
    // A subfolder about to be entered, before folder changes.
    virtual int onSubfolder(const WIN32_FIND_DATAA &found);

    // Only meaningful during a search; the hooks read them.
    int depth = 0;
    char *searchSpec = nullptr;
    char *folder = nullptr;

private:
    int walk(const char *pattern, int maxDepth, int includeSystemFolders, FindHandle *levels);
};
