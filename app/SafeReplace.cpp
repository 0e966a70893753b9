#include "app/SafeReplace.h"

#include "app/RunningProgram.h"
#include "toolkit/BriefHoldRetry.h"
#include "toolkit/CodePage.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

// GetTempFileNameA takes folders of at most this many characters. Beyond it
// Windows fails, and Wine answered names that changed with unrelated changes
// of the program, so the copy could land under a name nobody chose.
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
    if (path_[0] != '\0')
        DeleteFileA(path_);
    path_[0] = '\0';
}

bool ReplacementCopy::fail(DWORD error)
{
    facts_.error = error;
    discard();
    return false;
}

bool ReplacementCopy::write(HANDLE source, const char *target)
{
    discard();
    facts_ = ReplaceFacts{};
    if (std::strlen(target) >= sizeof target_)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    std::strcpy(target_, target);

    const DWORD attributes = GetFileAttributesA(target_);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return fail(GetLastError());
    facts_.targetAttributes = attributes;
    if (refusesTargetAttributes(attributes))
        return fail((attributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_DIRECTORY : 0);

    char folder[MAX_PATH];
    std::strcpy(folder, target_);
    cutToDirectory(folder, programLeadBytes());
    if (folder[0] == '\0' || std::strlen(folder) > LongestTemporaryFolder)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    if (GetTempFileNameA(folder, "kst", 0, path_) == 0) {
        path_[0] = '\0';
        return fail(GetLastError());
    }

    // A scanner may look at the empty file the name was made with.
    FileHandle copy(openJustWrittenFile(path_, GENERIC_WRITE, 0, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!copy.valid())
        return fail(GetLastError());
    // Taken before the bytes are read, which may move the access time.
    FILETIME created, accessed, lastWritten;
    const bool timed = GetFileTime(source, &created, &accessed, &lastWritten) != FALSE;
    bool written = copyAllBytes(source, copy.get());
    if (written && timed)
        SetFileTime(copy.get(), &created, &accessed, &lastWritten);
    // The data must be on the disk before the move makes it the program.
    written = written && FlushFileBuffers(copy.get());
    const DWORD error = written ? 0 : GetLastError();
    copy.close();
    return written || fail(error);
}

bool ReplacementCopy::moveOverTarget()
{
    // The running program cannot be moved over; it is moved aside instead.
    // Asked once: after that move its path names another file.
    const bool running = isRunningProgram(target_);
    const DWORD error = retryWhileBrieflyHeld([this, running]() -> DWORD {
        const bool moved = running ? moveOverRunningProgram(path_, target_)
                                   : MoveFileExA(path_, target_, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        return moved ? 0 : GetLastError();
    });
    if (error == 0) {
        path_[0] = '\0';
        return true;
    }
    facts_.atFinalMove = true;
    if (needsInUseProbe(error))
        facts_.openForWritingError = openForWritingError(target_);
    return fail(error);
}
