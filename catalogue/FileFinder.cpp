#include "catalogue/FileFinder.h"

#include "catalogue/core/NamePattern.h"
#include "catalogue/core/SubfolderStack.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

// Writes head followed by tail into out when the whole text and its
// terminator fit in outSize bytes; otherwise leaves out alone.
bool joinFits(char *out, std::size_t outSize, const char *head, const char *tail)
{
    std::size_t headLength = std::strlen(head);
    std::size_t tailLength = std::strlen(tail);
    if (headLength + tailLength >= outSize)
        return false;
    std::memmove(out, head, headLength);
    std::memcpy(out + headLength, tail, tailLength + 1);
    return true;
}

bool isEnterableFolder(const WIN32_FIND_DATAA &found, int includeSystemFolders)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.'
        && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        && (includeSystemFolders || !(found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM));
}

// Where the walk stands in one folder's list of subfolders on the stack.
struct Level {
    std::size_t start;  // the folder's first entry; the stack is cut back here on leaving
    std::size_t next;   // the next subfolder to enter
    std::size_t end;    // just after the folder's last entry
};

} // namespace

void FileFinder::onBackInFolder() {}

int FileFinder::onFile(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onEnterFolder(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onSubfolder(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::search(const char *root, const char *pattern, int maxDepth, int includeSystemFolders)
{
    if (maxDepth < 0)
        maxDepth = 0;
    if (maxDepth > deepestReachableLevel)
        maxDepth = deepestReachableLevel;
    char specBuffer[searchSpecSize];
    char folderBuffer[folderSize];
    searchSpec = specBuffer;
    folder = folderBuffer;

    int result = 0;
    std::size_t rootLength = std::strlen(root);
    const char *rootEnd = rootLength > 0 && root[rootLength - 1] == '\\' ? "" : "\\";
    // A root too long for the buffers cannot be searched at all; the caller
    // sees an ordinary search that found nothing.
    if (joinFits(folder, folderSize, root, rootEnd) && joinFits(searchSpec, searchSpecSize, folder, "*"))
        result = walk(pattern, maxDepth, includeSystemFolders);

    searchSpec = nullptr;
    folder = nullptr;
    return result;
}

int FileFinder::readFolder(const char *pattern, bool takeSubfolders, int includeSystemFolders,
                           SubfolderStack &subfolders)
{
    // Every folder entered is known to fit folder + "*" in searchSpec.
    joinFits(searchSpec, searchSpecSize, folder, "*");
    WIN32_FIND_DATAA found;
    FindHandle listing(FindFirstFileA(searchSpec, &found));
    if (!listing.valid())
        return 0;
    std::size_t folderLength = std::strlen(folder);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (matchesNamePattern(found.cFileName, pattern) && onFile(found))
                return 1;
            continue;
        }
        // A subfolder whose path would overflow folder is passed over like
        // a folder that cannot be read; so is one there is no memory for.
        std::size_t nameLength = std::strlen(found.cFileName);
        if (takeSubfolders && isEnterableFolder(found, includeSystemFolders)
            && folderLength + nameLength + 1 < static_cast<std::size_t>(folderSize))
            subfolders.push(found.cFileName, nameLength, found.dwFileAttributes);
    } while (FindNextFileA(listing.get(), &found));
    return 0;
}

int FileFinder::walk(const char *pattern, int maxDepth, int includeSystemFolders)
{
    WIN32_FIND_DATAA found = {};
    depth = 0;
    if (onEnterFolder(found))
        return 1;

    SubfolderStack subfolders;
    Level levels[deepestReachableLevel + 1];
    for (;;) {
        std::size_t start = subfolders.top();
        if (readFolder(pattern, depth < maxDepth, includeSystemFolders, subfolders))
            return 1;
        levels[depth] = Level{start, start, subfolders.top()};

        while (levels[depth].next == levels[depth].end) {
            subfolders.cutTo(levels[depth].start);
            if (--depth < 0)
                return 0;
            // folder ends in a backslash: drop it, then the last name.
            folder[std::strlen(folder) - 1] = '\0';
            cutToDirectory(folder);
            onBackInFolder();
        }

        std::size_t entry = levels[depth].next;
        levels[depth].next = subfolders.nextAfter(entry);
        found = WIN32_FIND_DATAA{};
        found.dwFileAttributes = subfolders.attributesAt(entry);
        std::strcpy(found.cFileName, subfolders.nameAt(entry));
        if (onSubfolder(found))
            return 1;
        joinFits(folder, folderSize, folder, found.cFileName);
        joinFits(folder, folderSize, folder, "\\");
        ++depth;
        if (onEnterFolder(found))
            return 1;
    }
}
