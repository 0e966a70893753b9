#include "app/RunningProgram.h"

#include <windows.h>

#include "app/core/OldProgramName.h"
#include "toolkit/KernelHandles.h"

namespace {

struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

bool identityOf(const char *path, FileIdentity &identity)
{
    // No access asked, and every sharing allowed: enough to read the identity
    // of any file, a running program included.
    FileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &information))
        return false;
    identity = FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh,
                            information.nFileIndexLow};
    return true;
}

// The module's path; false when it does not fit MAX_PATH characters.
bool runningProgramPath(char (&path)[MAX_PATH])
{
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length != 0 && length < MAX_PATH;
}

FileIdentity runningIdentity;
bool runningIdentityKnown = false;

bool knowRunningIdentity()
{
    if (!runningIdentityKnown) {
        char path[MAX_PATH];
        runningIdentityKnown = runningProgramPath(path) && identityOf(path, runningIdentity);
    }
    return runningIdentityKnown;
}

// Renames target to its first old-program name that is free or whose file
// can be deleted; the name used is left in oldName.
bool moveAside(const char *target, char (&oldName)[MAX_PATH])
{
    for (int number = 1; number <= OldProgramNameCount; ++number) {
        if (!oldProgramName(target, number, oldName, sizeof oldName)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        if (!DeleteFileA(oldName) && GetLastError() != ERROR_FILE_NOT_FOUND)
            continue;
        if (MoveFileExA(target, oldName, MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return false;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

bool sameIdentity(const FileIdentity &first, const FileIdentity &second)
{
    return first.volume == second.volume && first.indexHigh == second.indexHigh && first.indexLow == second.indexLow;
}

} // namespace

bool isRunningProgram(const char *path)
{
    FileIdentity identity;
    return knowRunningIdentity() && identityOf(path, identity) && sameIdentity(identity, runningIdentity);
}

bool sameFile(const char *first, const char *second)
{
    FileIdentity firstIdentity;
    FileIdentity secondIdentity;
    return identityOf(first, firstIdentity) && identityOf(second, secondIdentity) &&
           sameIdentity(firstIdentity, secondIdentity);
}

bool moveOverRunningProgram(const char *newCopy, const char *target)
{
    char oldName[MAX_PATH];
    if (!moveAside(target, oldName))
        return false;
    if (MoveFileExA(newCopy, target, MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    MoveFileExA(oldName, target, MOVEFILE_WRITE_THROUGH);
    SetLastError(error);
    return false;
}

void removeOldRunningPrograms()
{
    char path[MAX_PATH];
    if (runningProgramPath(path))
        removeOldPrograms(path);
}

void removeOldPrograms(const char *programPath)
{
    for (int number = 1; number <= OldProgramNameCount; ++number) {
        char oldName[MAX_PATH];
        if (oldProgramName(programPath, number, oldName, sizeof oldName))
            DeleteFileA(oldName);
    }
}
