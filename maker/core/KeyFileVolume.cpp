#include "maker/core/KeyFileVolume.h"

bool keepsAccessLists(unsigned long fileSystemFlags)
{
    return (fileSystemFlags & PersistentAccessListsFlag) != 0;
}
