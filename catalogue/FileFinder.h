#pragma once
#include <windows.h>

class SubfolderStack;

// A depth-first, pre-order walk of a folder tree that hands every file
// matching a name pattern to onFile. Subclasses hook in at four points; any
// hook but onBackInFolder can stop the walk by returning non-zero.
//
// Each folder is listed once: its matching files are handed out at once and
// the subfolders to enter are kept until the listing is done, so that all
// files of a folder still come before anything below it. Only the subfolder
// names of the folders on the current path are kept, so the walk's memory
// does not grow with the size of the tree.
class FileFinder {
public:
    FileFinder() = default;
    FileFinder(const FileFinder &) = delete;
    FileFinder &operator=(const FileFinder &) = delete;
    virtual ~FileFinder() = default;

    // Searches root (a folder path ending in a backslash) and the folders
    // down to maxDepth levels below it for files matching pattern ("*" and
    // "?", letter case ignored: see matchesNamePattern). Folders whose names
    // begin with "." are never entered, system folders only with
    // includeSystemFolders, and junctions, directory links and mount points
    // never: what they lead to is either searched where it lies or is not
    // on this drive at all. Returns 1 if a hook stopped the search, else 0.
    // Not re-entrant: one search per finder at a time.
    int search(const char *root, const char *pattern, int maxDepth, int includeSystemFolders);

    static constexpr int folderSize = 260;
    static constexpr int searchSpecSize = 300;
    // Every level adds at least a name character and a backslash to folder,
    // so no deeper level can be reached whatever maxDepth asks for.
    static constexpr int deepestReachableLevel = folderSize / 2;

protected:
    // After a subfolder has been searched and folder is back at its parent.
    virtual void onBackInFolder();
    // A matching entry of the current folder that is not a directory.
    virtual int onFile(const WIN32_FIND_DATAA &found);
    // Once for the root (found then holds nothing) and once for each
    // subfolder right after folder and depth have moved into it (found then
    // holds the subfolder's name and attributes only).
    virtual int onEnterFolder(const WIN32_FIND_DATAA &found);
    // A subfolder about to be entered, before folder changes (found as for
    // onEnterFolder).
    virtual int onSubfolder(const WIN32_FIND_DATAA &found);

    // Only meaningful during a search; the hooks read them.
    int depth = 0;
    char *searchSpec = nullptr;
    char *folder = nullptr;

private:
    // Lists folder once: hands its matching files to onFile and pushes the
    // subfolders to enter (none at maxDepth). 1 when onFile stopped the search.
    int readFolder(const char *pattern, bool takeSubfolders, int includeSystemFolders, SubfolderStack &subfolders);
    int walk(const char *pattern, int maxDepth, int includeSystemFolders);
};
