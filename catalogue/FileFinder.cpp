#include "catalogue/FileFinder.h"

#include "toolkit/HeapArray.h"
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
        && (includeSystemFolders || !(found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM));
}

} // namespace

void FileFinder::onBackInFolder() {}

int FileFinder::onFile(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onEnterFolder(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::onSubfolder(const WIN32_FIND_DATAA &) { return 0; }

int FileFinder::search(const char *root, const char *pattern, int maxDepth, int includeSystemFolders)
{
    if (maxDepth < 0)
        maxDepth = 0;
    HeapArray<FindHandle> levels;
    HeapArray<char> specBuffer;
    HeapArray<char> folderBuffer;
    // Without the memory nothing can be searched: an ordinary search that
    // found nothing, like a root too long for the buffers.
    if (!levels.allocate(static_cast<SIZE_T>(maxDepth) + 1) || !specBuffer.allocate(searchSpecSize) ||
        !folderBuffer.allocate(folderSize))
        return 0;
    searchSpec = specBuffer.get();
    folder = folderBuffer.get();

    int result = 0;
    std::size_t rootLength = std::strlen(root);
    const char *rootEnd = rootLength > 0 && root[rootLength - 1] == '\\' ? "" : "\\";
    // A root too long for the buffers cannot be searched at all; the caller
    // sees an ordinary search that found nothing.
    if (joinFits(folder, folderSize, root, rootEnd)
        && joinFits(searchSpec, searchSpecSize, folder, pattern))
        result = walk(pattern, maxDepth, includeSystemFolders, levels.get());

    searchSpec = nullptr;
    folder = nullptr;
    return result;
}

int FileFinder::walk(const char *pattern, int maxDepth, int includeSystemFolders, FindHandle *levels)
{
    WIN32_FIND_DATAA found = {};
    depth = 0;
    if (onEnterFolder(found))
        return 1;

    for (;;) {
        // Every folder entered is known to fit folder + pattern in searchSpec.
        joinFits(searchSpec, searchSpecSize, folder, pattern);
        levels[depth].reset(FindFirstFileA(searchSpec, &found));
        for (bool more = levels[depth].valid(); more; more = FindNextFileA(levels[depth].get(), &found)) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && onFile(found))
                return 1;
        }
        levels[depth].close();

        if (maxDepth == 0)
            return 0;

        joinFits(searchSpec, searchSpecSize, folder, "*");
        levels[depth].reset(FindFirstFileA(searchSpec, &found));
        bool more = levels[depth].valid();
        std::size_t folderLength = std::strlen(folder);
        for (;;) {
            if (more && depth < maxDepth) {
                // A subfolder whose path would overflow folder or searchSpec
                // is passed over like a folder that cannot be read.
                std::size_t nameLength = std::strlen(found.cFileName);
                if (isEnterableFolder(found, includeSystemFolders)
                    && folderLength + nameLength + 1 < static_cast<std::size_t>(folderSize)
                    && folderLength + nameLength + 1 + std::strlen(pattern) < static_cast<std::size_t>(searchSpecSize))
                    break;
                more = FindNextFileA(levels[depth].get(), &found);
                continue;
            }
            levels[depth].close();
            if (--depth < 0)
                return 0;
            // folder ends in a backslash: drop it, then the last name.
            folder[folderLength - 1] = '\0';
            cutToDirectory(folder);
            folderLength = std::strlen(folder);
            onBackInFolder();
            more = FindNextFileA(levels[depth].get(), &found);
        }

        if (onSubfolder(found))
            return 1;
        joinFits(folder, folderSize, folder, found.cFileName);
        joinFits(folder, folderSize, folder, "\\");
        ++depth;
        if (onEnterFolder(found))
            return 1;
    }
}
