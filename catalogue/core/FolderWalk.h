#pragma once
#include "catalogue/core/FolderListing.h"
#include "toolkit/core/LeadBytes.h"

#include <cstddef>

class SubfolderStack;

// A depth-first, pre-order walk of a folder tree that hands every file
// matching a name pattern to fileFound. Subclasses hook in at four points
// during the walk and once after it; any hook but backInFolder can stop the
// walk by returning non-zero.
//
// Each folder is listed once: its matching files are handed out at once and
// the subfolders to enter are kept until the listing is done, so that all
// files of a folder still come before anything below it; the subfolders are
// then entered in listing order. Only the subfolder names of the folders on
// the current path are kept, so the walk's memory does not grow with the
// size of the tree.
class FolderWalk {
public:
    // Paths are split by the lead bytes of the code page the listing's names
    // are in.
    explicit FolderWalk(const LeadBytes &leadBytes = SingleByteCharacters) : leadBytes_(leadBytes) {}
    FolderWalk(const FolderWalk &) = delete;
    FolderWalk &operator=(const FolderWalk &) = delete;

    // Walks root (a folder path; a backslash is added when it lacks one) and
    // the folders down to maxDepth levels below it, listing each through
    // listing. Files match pattern as matchesNamePattern says, and files
    // whose contents are not here are passed over (hasContentsHere);
    // isEnterableFolder says which subfolders are entered. A subfolder whose path would not fit
    // in FolderSize bytes is passed over, and a root that does not fit is not
    // walked at all. A subfolder that cannot be listed by its name but has a
    // short name is listed by that, and folder then holds the short name
    // from its listing on, so that the files below it are handed out with a
    // path that opens. Returns 1 if a hook stopped the walk, else 0. Not
    // re-entrant: one walk per object at a time.
    int walk(const char *root, const char *pattern, int maxDepth, int includeSystemFolders, FolderListing &listing);

    static constexpr std::size_t FolderSize = 260;
    // Every level adds at least a name character and a backslash to folder,
    // so no deeper level can be reached whatever maxDepth asks for.
    static constexpr int DeepestReachableLevel = FolderSize / 2;

protected:
    ~FolderWalk() = default;

    // After a subfolder has been walked and folder is back at its parent.
    virtual void backInFolder() = 0;
    // A matching entry of the current folder that is not a directory.
    virtual int fileFound(const ListedEntry &file) = 0;
    // Once for the root (subfolder is then null) and once for each subfolder
    // right after folder and depth have moved into it.
    virtual int folderEntered(const ListedEntry *subfolder) = 0;
    // A subfolder about to be entered, before folder changes.
    virtual int subfolderFound(const ListedEntry &subfolder) = 0;
    // Once after the whole tree has been walked, unless a hook stopped it.
    virtual int walkEnded() = 0;

    // Only meaningful during a walk; the hooks read them. folder always ends
    // in a backslash; depth is 0 at the root.
    int depth = 0;
    char *folder = nullptr;

private:
    // Starts listing folder; a subfolder that cannot be listed by its name
    // is listed by its short name, which then replaces the name in folder.
    bool startListing(const char *shortName, FolderListing &listing, ListedEntry &entry);
    int readFolder(const char *pattern, bool takeSubfolders, int includeSystemFolders, const char *shortName,
                   FolderListing &listing, SubfolderStack &subfolders);
    int walkFromRoot(const char *pattern, int maxDepth, int includeSystemFolders, FolderListing &listing);

    const LeadBytes leadBytes_;
};
