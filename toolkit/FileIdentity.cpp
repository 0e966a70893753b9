#include "toolkit/FileIdentity.h"

#include "toolkit/KernelHandles.h"

bool readFileIdentity(HANDLE file, FileIdentity &identity)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information))
        return false;
    identity = FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}

bool identityOfPath(const char *path, FileIdentity &identity)
{
    FileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid() && readFileIdentity(file.get(), identity);
}

bool sameIdentity(const FileIdentity &first, const FileIdentity &second)
{
    return first.volume == second.volume && first.indexHigh == second.indexHigh && first.indexLow == second.indexLow;
}
