#include "catalogue/core/EntryChoice.h"

bool isEnterableFolder(const char *name, std::uint32_t attributes, std::uint32_t reparseTag,
                       int includeSystemFolders)
{
    if (!(attributes & FileAttribute::Directory) || name[0] == '.')
        return false;
    if ((attributes & FileAttribute::ReparsePoint) && (reparseTag == 0 || (reparseTag & NameSurrogateTagBit)))
        return false;
    return includeSystemFolders || !(attributes & FileAttribute::System);
}

bool hasContentsHere(std::uint32_t attributes)
{
    return !(attributes & (FileAttribute::Offline | FileAttribute::RecallOnOpen | FileAttribute::RecallOnDataAccess));
}
