#include "catalogue/core/FolderWalk.h"

#include "catalogue/core/EntryChoice.h"
#include "catalogue/core/NamePattern.h"
#include "catalogue/core/SubfolderStack.h"
#include "toolkit/core/PathText.h"

#include <cstdint>
#include <cstring>

namespace {

// Where the walk stands in one folder's list of subfolders on the stack.
struct Level {
    std::size_t start;  // the folder's first entry; the stack is cut back here on leaving
    std::size_t next;   // the next subfolder to enter
    std::size_t end;    // just after the folder's last entry
};

// Ends the listing on every way out of a folder, a stop by a hook included.
class OpenListing {
public:
    explicit OpenListing(FolderListing &listing) : listing_(listing) {}
    ~OpenListing() { listing_.close(); }
    OpenListing(const OpenListing &) = delete;
    OpenListing &operator=(const OpenListing &) = delete;

private:
    FolderListing &listing_;
};

} // namespace

int FolderWalk::walk(const char *root, const char *pattern, int maxDepth, int includeSystemFolders,
                     FolderListing &listing)
{
    if (maxDepth < 0)
        maxDepth = 0;
    if (maxDepth > DeepestReachableLevel)
        maxDepth = DeepestReachableLevel;
    std::size_t rootLength = std::strlen(root);
    bool addBackslash = true;
    for (const char *p = root; *p; p = leadBytes_.next(p))
        addBackslash = *p != '\\';
    // A root too long for the buffer cannot be walked at all; the caller
    // sees an ordinary walk that found nothing.
    if (rootLength + addBackslash >= FolderSize)
        return 0;

    char folderBuffer[FolderSize];
    std::memcpy(folderBuffer, root, rootLength);
    std::strcpy(folderBuffer + rootLength, addBackslash ? "\\" : "");
    folder = folderBuffer;
    int result = walkFromRoot(pattern, maxDepth, includeSystemFolders, listing);
    if (result == 0)
        result = walkEnded() ? 1 : 0;
    folder = nullptr;
    return result;
}

bool FolderWalk::startListing(const char *shortName, FolderListing &listing, ListedEntry &entry)
{
    if (listing.first(folder, entry))
        return true;
    // A name the program cannot spell in its code page comes back with
    // stand-ins for the letters it lacks ("?", or a look-alike letter), and
    // the folder cannot be listed by it; its short name still leads there.
    std::size_t shortLength = std::strlen(shortName);
    if (depth == 0 || shortLength == 0)
        return false;
    // folder ends in a backslash after the folder's own name.
    std::size_t folderLength = std::strlen(folder);
    folder[folderLength - 1] = '\0';
    std::size_t nameStart = directoryLength(folder, leadBytes_);
    folder[folderLength - 1] = '\\';
    std::size_t nameLength = folderLength - 1 - nameStart;
    if ((nameLength == shortLength && std::memcmp(folder + nameStart, shortName, shortLength) == 0)
        || nameStart + shortLength + 1 >= FolderSize)
        return false;
    std::memcpy(folder + nameStart, shortName, shortLength);
    std::strcpy(folder + nameStart + shortLength, "\\");
    return listing.first(folder, entry);
}

int FolderWalk::readFolder(const char *pattern, bool takeSubfolders, int includeSystemFolders, const char *shortName,
                           FolderListing &listing, SubfolderStack &subfolders)
{
    ListedEntry entry;
    OpenListing open(listing);
    if (!startListing(shortName, listing, entry))
        return 0;
    std::size_t folderLength = std::strlen(folder);
    do {
        if (!(entry.attributes & FileAttribute::Directory)) {
            if (matchesNamePattern(entry.name, pattern) && hasContentsHere(entry.attributes) && fileFound(entry))
                return 1;
            continue;
        }
        // A subfolder whose path would overflow folder is passed over like
        // a folder that cannot be listed; so is one there is no memory for.
        std::size_t nameLength = std::strlen(entry.name);
        if (takeSubfolders && isEnterableFolder(entry.name, entry.attributes, entry.reparseTag, includeSystemFolders)
            && folderLength + nameLength + 1 < FolderSize)
            subfolders.push(entry.name, nameLength, entry.attributes, entry.shortName);
    } while (listing.next(entry));
    return 0;
}

int FolderWalk::walkFromRoot(const char *pattern, int maxDepth, int includeSystemFolders, FolderListing &listing)
{
    depth = 0;
    if (folderEntered(nullptr))
        return 1;

    SubfolderStack subfolders;
    Level levels[DeepestReachableLevel + 1];
    const char *shortName = "";
    for (;;) {
        std::size_t start = subfolders.top();
        if (readFolder(pattern, depth < maxDepth, includeSystemFolders, shortName, listing, subfolders))
            return 1;
        levels[depth] = Level{start, start, subfolders.top()};

        while (levels[depth].next == levels[depth].end) {
            subfolders.cutTo(levels[depth].start);
            if (--depth < 0)
                return 0;
            // folder ends in a backslash: drop it, then the last name.
            folder[std::strlen(folder) - 1] = '\0';
            cutToDirectory(folder, leadBytes_);
            backInFolder();
        }

        std::size_t at = levels[depth].next;
        levels[depth].next = subfolders.nextAfter(at);
        ListedEntry subfolder = {subfolders.nameAt(at), subfolders.shortNameAt(at), subfolders.attributesAt(at), 0};
        // Read by the next listing before it adds to the stack, so it stays valid.
        shortName = subfolder.shortName;
        if (subfolderFound(subfolder))
            return 1;
        std::size_t folderLength = std::strlen(folder);
        std::size_t nameLength = std::strlen(subfolder.name);
        std::memcpy(folder + folderLength, subfolder.name, nameLength);
        std::strcpy(folder + folderLength + nameLength, "\\");
        ++depth;
        if (folderEntered(&subfolder))
            return 1;
    }
}
