#include "app/RunningProgram.h"

#include "app/core/OldProgramName.h"
#include "toolkit/CodePage.h"
#include "toolkit/FileByHandle.h"
#include "toolkit/FileIdentity.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

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
        runningIdentityKnown = runningProgramPath(path) && identityOfPath(path, runningIdentity);
    }
    return runningIdentityKnown;
}

// Renames program to its first old-program name in folder that is free or
// whose plain file can be removed; the name used is left in oldName.
bool moveAside(HANDLE program, HANDLE folder, const char *name, char (&oldName)[MAX_PATH])
{
    for (int number = 1; number <= OldProgramNameCount; ++number) {
        if (!oldProgramName(name, number, oldName, sizeof oldName)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        removePlainFileIn(folder, oldName);
        if (moveIntoFolder(program, folder, oldName, false))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return false;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

} // namespace

bool isRunningProgram(const char *path)
{
    FileIdentity identity;
    return knowRunningIdentity() && identityOfPath(path, identity) && sameIdentity(identity, runningIdentity);
}

bool sameFile(const char *first, const char *second)
{
    FileIdentity firstIdentity;
    FileIdentity secondIdentity;
    return identityOfPath(first, firstIdentity) && identityOfPath(second, secondIdentity) &&
           sameIdentity(firstIdentity, secondIdentity);
}

bool moveOverRunningProgram(HANDLE newCopy, HANDLE program, HANDLE folder, const char *name)
{
    // A running program may be renamed: its image shares deletion.
    FileHandle movable(ReOpenFile(program, DELETE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0));
    char oldName[MAX_PATH];
    if (!movable.valid() || !moveAside(movable.get(), folder, name, oldName))
        return false;
    if (moveIntoFolder(newCopy, folder, name, false))
        return true;
    const DWORD error = GetLastError();
    moveIntoFolder(movable.get(), folder, name, false);
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
    // The folder the program's own file lies in, found through a handle on
    // it: a launch path through a link names another folder.
    FileHandle program(CreateFileA(programPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    char finalPath[MAX_PATH + 8];
    if (!program.valid() || !finalPathOf(program.get(), finalPath, sizeof finalPath))
        return;
    char name[MAX_PATH];
    fileNameFromPath(finalPath, name, sizeof name, programLeadBytes());
    cutToDirectory(finalPath, programLeadBytes());
    FileHandle folder(CreateFileA(finalPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid())
        return;
    for (int number = 1; number <= OldProgramNameCount; ++number) {
        char oldName[MAX_PATH];
        if (oldProgramName(name, number, oldName, sizeof oldName))
            removePlainFileIn(folder.get(), oldName);
    }
}
