#include "toolkit/OwnedFile.h"

#include "toolkit/BriefHoldRetry.h"
#include "toolkit/CodePage.h"
#include "toolkit/FileByHandle.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/TextWriter.h"

#include <cstring>

namespace {

constexpr unsigned NameCount = 0x10000;

void makeName(const char *folder, const char *prefix, unsigned number, char (&path)[MAX_PATH])
{
    static const char digits[] = "0123456789ABCDEF";
    const char hex[] = {digits[(number >> 12) & 15], digits[(number >> 8) & 15], digits[(number >> 4) & 15],
                        digits[number & 15], '\0'};
    TextWriter(path, sizeof path).text(folder).text(prefix).text(hex).text(".tmp");
}

} // namespace

OwnedFile::~OwnedFile()
{
    remove();
}

const char *OwnedFile::name() const
{
    return path_ + directoryLength(path_, programLeadBytes());
}

bool OwnedFile::create(const char *folder, const char *prefix, DWORD access)
{
    remove();
    if (std::strlen(folder) + NameLength >= sizeof path_ || std::strlen(prefix) + 8 != NameLength) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    FileHandle folderHandle(CreateFileA(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    // Counting on from a number that changes between runs keeps the search
    // short when names of earlier runs are taken.
    const unsigned start = GetTickCount();
    for (unsigned step = 0; step < NameCount; ++step) {
        makeName(folder, prefix, (start + step) % NameCount, path_);
        file_.reset(CreateFileA(path_, access | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_.valid()) {
            // Made where it was meant to be, not through a link planted
            // under the name: then it is this process's to remove.
            if (liesInFolder(file_.get(), folderHandle.get(), name()) && readFileIdentity(file_.get(), identity_))
                return true;
            remove();
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    path_[0] = '\0';
    return false;
}

bool OwnedFile::stopWriting()
{
    HANDLE reopened = ReOpenFile(file_.get(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    if (reopened == INVALID_HANDLE_VALUE)
        return false;
    file_.reset(reopened);
    return true;
}

bool OwnedFile::moveOver(const char *name)
{
    if (!file_.valid()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    // Let go first: the move opens the file by its path, and no platform
    // promises to share it with a handle that writes.
    file_.close();
    // Proven again before each try; a scanner may be looking at the file
    // just written.
    const DWORD error = retryWhileBrieflyHeld([this, name]() -> DWORD {
        FileIdentity atPath;
        if (!identityOfPath(path_, atPath) || !sameIdentity(atPath, identity_))
            return ERROR_FILE_NOT_FOUND;
        return MoveFileExA(path_, name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
    });
    const bool moved = error == 0;
    if (!moved)
        removeIfStill(path_, identity_);
    release();
    SetLastError(error);
    return moved;
}

void OwnedFile::remove()
{
    if (file_.valid())
        removeByHandle(file_.get());
    release();
}

void OwnedFile::release()
{
    file_.close();
    path_[0] = '\0';
}
