#include "app/SafeReplace.h"

#include "app/RunningProgram.h"
#include "toolkit/BriefHoldRetry.h"
#include "toolkit/FileByHandle.h"
#include "toolkit/CodePage.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

// The longest folder (with its final backslash) a copy is made in, with room
// for the copy's name (OwnedFile::NameLength) to spare.
constexpr std::size_t LongestTemporaryFolder = MAX_PATH - 14;
constexpr DWORD CopyBlockSize = 256 * 1024;

bool copyAllBytes(HANDLE source, HANDLE destination)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(source, start, nullptr, FILE_BEGIN))
        return false;
    GlobalBlock buffer;
    if (!buffer.allocate(GMEM_FIXED, CopyBlockSize)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(source, buffer.get(), CopyBlockSize, &count, nullptr))
            return false;
        if (count == 0)
            return true;
        DWORD written = 0;
        if (!WriteFile(destination, buffer.get(), count, &written, nullptr))
            return false;
        if (written != count) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
    }
}

// The error of opening target for writing while sharing everything: a
// program that runs from it or holds it open refuses even that. Delete access
// is asked too, as the move needs it: a holder that shares writing but not
// deletion blocks the move just as well.
DWORD openForWritingError(const char *target)
{
    FileHandle file(CreateFileA(target, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() ? 0 : GetLastError();
}

} // namespace

ReplacementCopy::~ReplacementCopy()
{
    discard();
}

void ReplacementCopy::discard()
{
    copy_.remove();
    program_.close();
    folder_.close();
}

bool ReplacementCopy::fail(DWORD error)
{
    facts_.error = error;
    discard();
    return false;
}

bool ReplacementCopy::folderChanged()
{
    facts_.folderChanged = true;
    return fail(0);
}

bool ReplacementCopy::pinListedCopy(const ListedCopy &kept)
{
    char folder[MAX_PATH];
    std::strcpy(folder, target_);
    cutToDirectory(folder, programLeadBytes());
    // Sharing reading and writing, so files in it can still be made and
    // moved, but not deletion: the folder cannot be renamed while held.
    folder_.reset(CreateFileA(folder, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder_.valid())
        return fail(GetLastError());
    // The program itself: a link put in its place is not followed.
    program_.reset(CreateFileA(target_, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                               nullptr));
    BY_HANDLE_FILE_INFORMATION program;
    if (!program_.valid() || !GetFileInformationByHandle(program_.get(), &program))
        return fail(GetLastError());
    facts_.targetAttributes = program.dwFileAttributes;
    FileIdentity folderIdentity;
    const FileIdentity programIdentity{program.dwVolumeSerialNumber, program.nFileIndexHigh, program.nFileIndexLow};
    if (!readFileIdentity(folder_.get(), folderIdentity) || !sameIdentity(folderIdentity, kept.folder) ||
        !sameIdentity(programIdentity, kept.program) || (program.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return folderChanged();
    return true;
}

bool ReplacementCopy::write(HANDLE source, const char *target, const ListedCopy *kept)
{
    discard();
    facts_ = ReplaceFacts{};
    if (std::strlen(target) >= sizeof target_)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    std::strcpy(target_, target);
    const std::size_t folderLength = directoryLength(target_, programLeadBytes());
    targetName_ = target_ + folderLength;
    if (folderLength == 0 || folderLength > LongestTemporaryFolder)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    if (!kept)
        return folderChanged();
    if (!pinListedCopy(*kept))
        return false;
    if (refusesTargetAttributes(facts_.targetAttributes))
        return fail((facts_.targetAttributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_DIRECTORY : 0);

    char folder[MAX_PATH];
    std::strcpy(folder, target_);
    cutToDirectory(folder, programLeadBytes());
    if (!copy_.create(folder, "kst", GENERIC_READ | GENERIC_WRITE))
        return fail(GetLastError());
    // Made by a path, which a folder renamed above the held one could have
    // sent elsewhere: it must lie in the held folder.
    if (!liesInFolder(copy_.get(), folder_.get(), copy_.name()))
        return folderChanged();
    // Taken before the bytes are read, which may move the access time.
    FILETIME created, accessed, lastWritten;
    const bool timed = GetFileTime(source, &created, &accessed, &lastWritten) != FALSE;
    bool written = copyAllBytes(source, copy_.get());
    if (written && timed)
        SetFileTime(copy_.get(), &created, &accessed, &lastWritten);
    // The data must be on the disk before the move makes it the program.
    written = written && FlushFileBuffers(copy_.get()) && copy_.stopWriting();
    return written || fail(GetLastError());
}

bool ReplacementCopy::moveOverTarget()
{
    // The running program cannot be moved over; it is moved aside instead.
    // Asked once: after that move its path names another file.
    const bool running = isRunningProgram(target_);
    // An open file is never replaced: the program's handle goes first. What
    // takes its name from then on is replaced itself, a link included.
    if (!running)
        program_.close();
    const DWORD error = retryWhileBrieflyHeld([this, running]() -> DWORD {
        const bool moved = running ? moveOverRunningProgram(copy_.get(), program_.get(), folder_.get(), targetName_)
                                   : moveIntoFolder(copy_.get(), folder_.get(), targetName_, true);
        return moved ? 0 : GetLastError();
    });
    if (error == 0) {
        copy_.release();
        discard();
        return true;
    }
    facts_.atFinalMove = true;
    if (needsInUseProbe(error))
        facts_.openForWritingError = openForWritingError(target_);
    return fail(error);
}
