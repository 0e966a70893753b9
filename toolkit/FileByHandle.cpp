#include "toolkit/FileByHandle.h"

#include "toolkit/CodePage.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/TextWriter.h"

#include <winternl.h>

#include <cstring>

namespace {

// The rename's information class one layer down (FileRenameInformation).
constexpr int FileRenameInformationClass = 10;
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Room for a final path and its "\\?\" or "\\?\UNC\" start.
constexpr std::size_t FinalPathSize = MAX_PATH + 8;

// The path's file or folder itself, with DELETE access, never what a link
// there points to; with its attributes.
HANDLE openForRemoval(const char *path, DWORD &attributes)
{
    HANDLE file = CreateFileA(path, DELETE | FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION information;
    attributes = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information)
                     ? information.dwFileAttributes
                     : INVALID_FILE_ATTRIBUTES;
    return file;
}

bool isPlain(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// folder's final path, a backslash and name, into out.
bool pathInFolder(HANDLE folder, const char *name, char (&out)[FinalPathSize])
{
    char folderPath[FinalPathSize];
    if (!finalPathOf(folder, folderPath, sizeof folderPath) ||
        std::strlen(folderPath) + 1 + std::strlen(name) >= sizeof out)
        return false;
    // A drive's root folder ends in its backslash already.
    const bool ended = endsInSeparator(folderPath, programLeadBytes());
    TextWriter(out, sizeof out).text(folderPath).text(ended ? "" : "\\").text(name);
    return true;
}

// The same rename one layer down, where the platform's own SetFileInformationByHandle
// ends up: Wine's refuses a name relative to a root (87) that its lower layer takes.
bool renameBelow(HANDLE file, FILE_RENAME_INFO *rename, DWORD size)
{
    using SetInformationFile = LONG(WINAPI *)(HANDLE, IO_STATUS_BLOCK *, void *, ULONG, int);
    using StatusToError = ULONG(WINAPI *)(LONG);
    const HMODULE layer = GetModuleHandleA("ntdll.dll");
    const auto set = reinterpret_cast<SetInformationFile>(
        reinterpret_cast<void (*)()>(GetProcAddress(layer, "NtSetInformationFile")));
    const auto toError = reinterpret_cast<StatusToError>(
        reinterpret_cast<void (*)()>(GetProcAddress(layer, "RtlNtStatusToDosError")));
    if (!set || !toError)
        return false;
    IO_STATUS_BLOCK status{};
    const LONG result = set(file, &status, rename, size, FileRenameInformationClass);
    if (result >= 0)
        return true;
    SetLastError(toError(result));
    return false;
}

} // namespace

bool finalPathOf(HANDLE file, char *out, std::size_t size)
{
    const DWORD length = GetFinalPathNameByHandleA(file, out, static_cast<DWORD>(size), FILE_NAME_NORMALIZED);
    return length != 0 && length < size;
}

bool liesInFolder(HANDLE file, HANDLE folder, const char *name)
{
    char expected[FinalPathSize];
    char actual[FinalPathSize];
    return pathInFolder(folder, name, expected) && finalPathOf(file, actual, sizeof actual) &&
           std::strcmp(expected, actual) == 0;
}

bool moveIntoFolder(HANDLE file, HANDLE folder, const char *name, bool replace)
{
    WCHAR wideName[MAX_PATH];
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wideName, MAX_PATH);
    if (length <= 1) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    // The record ends in a name of one character; the rest follows it.
    alignas(FILE_RENAME_INFO) unsigned char block[sizeof(FILE_RENAME_INFO) + MAX_PATH * sizeof(WCHAR)] = {};
    auto *rename = reinterpret_cast<FILE_RENAME_INFO *>(block);
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<DWORD>(length - 1) * sizeof(WCHAR);
    std::memcpy(rename->FileName, wideName, static_cast<std::size_t>(length) * sizeof(WCHAR));
    if (SetFileInformationByHandle(file, FileRenameInfo, rename, sizeof block))
        return true;
    return GetLastError() == ERROR_INVALID_PARAMETER && renameBelow(file, rename, sizeof block);
}

bool removeByHandle(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool removePlainFileIn(HANDLE folder, const char *name)
{
    char path[FinalPathSize];
    if (!pathInFolder(folder, name, path))
        return false;
    DWORD attributes = 0;
    FileHandle file(openForRemoval(path, attributes));
    return isPlain(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           liesInFolder(file.get(), folder, name) && removeByHandle(file.get());
}

bool removeIfStill(const char *path, const FileIdentity &kept)
{
    DWORD attributes = 0;
    FileHandle file(openForRemoval(path, attributes));
    FileIdentity identity;
    return isPlain(attributes) && readFileIdentity(file.get(), identity) && sameIdentity(identity, kept) &&
           removeByHandle(file.get());
}
