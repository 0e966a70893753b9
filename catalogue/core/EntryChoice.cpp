#include "catalogue/core/EntryChoice.h"

bool isEnterableFolder(const char *name, std::uint32_t attributes, std::uint32_t, int includeSystemFolders)
{
    return (attributes & FileAttribute::Directory) && name[0] != '.'
        && !(attributes & FileAttribute::ReparsePoint)
        && (includeSystemFolders || !(attributes & FileAttribute::System));
}
