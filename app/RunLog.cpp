#include "app/RunLog.h"

#include "app/core/LogText.h"
#include "catalogue/core/CatalogueIssued.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/TextWriter.h"

#include <shlobj.h>

#include <cstring>

namespace {

const char CorvelFolder[] = "\\Corvel";
const char KestrelFolder[] = "\\Kestrel";
const char LogName[] = "\\Kestrel.log";
const char OlderLogSuffix[] = ".1";

// The usual log under the user's local application data, its folders made
// one level at a time (one already there is what is wanted); false when
// that folder is unknown or the log's names would not fit.
bool usualLogPath(char (&path)[MAX_PATH])
{
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                path)))
        return false;
    if (std::strlen(path) + std::strlen(CorvelFolder) + std::strlen(KestrelFolder) + std::strlen(LogName) +
            sizeof OlderLogSuffix > sizeof path)
        return false;
    std::strcat(path, CorvelFolder);
    CreateDirectoryA(path, nullptr);
    std::strcat(path, KestrelFolder);
    CreateDirectoryA(path, nullptr);
    std::strcat(path, LogName);
    return true;
}

// The ANSI text as UTF-8 into out; the length written, 0 when it cannot be.
int toUtf8(const char *text, char *out, int outSize)
{
    wchar_t wide[RunLog::LineSize];
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, RunLog::LineSize);
    if (wideLength <= 0)
        return 0;
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, wideLength - 1, out, outSize, nullptr, nullptr);
    return length > 0 ? length : 0;
}

// Opens the log for appending, sharing it with another Kestrel's log.
HANDLE openForAppending(const char *path)
{
    return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

void RunLog::open(const char *givenPath)
{
    path_[0] = '\0';
    if (givenPath[0] == '\0') {
        if (!usualLogPath(path_))
            path_[0] = '\0';
    } else if (std::strlen(givenPath) + sizeof OlderLogSuffix <= sizeof path_) {
        std::strcpy(path_, givenPath);
    }
}

void RunLog::write(const char *event)
{
    if (path_[0] == '\0')
        return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    const CalendarTime time{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay,
                            now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    char stamp[IssueTimeLength + 1];
    formatIssueTime(time, stamp);
    char line[LineSize];
    TextWriter(line, sizeof line).text(stamp).text(" ").text(event);
    flattenLogText(line);

    char utf8[LineSize * 3 + 2];
    int length = toUtf8(line, utf8, sizeof utf8 - 2);
    if (length == 0)
        return;
    utf8[length++] = '\r';
    utf8[length++] = '\n';

    FileHandle file(openForAppending(path_));
    LARGE_INTEGER size{};
    if (file.valid() && GetFileSizeEx(file.get(), &size) && static_cast<unsigned long long>(size.QuadPart) > LogRollOverSize) {
        file.close();
        char older[MAX_PATH];
        TextWriter(older, sizeof older).text(path_).text(OlderLogSuffix);
        MoveFileExA(path_, older, MOVEFILE_REPLACE_EXISTING);
        file.reset(openForAppending(path_));
    }
    if (!file.valid())
        return;
    DWORD written = 0;
    WriteFile(file.get(), utf8, static_cast<DWORD>(length), &written, nullptr);
}

void RunLog::record(const char *text, const char *caption)
{
    char event[LineSize];
    TextWriter(event, sizeof event).text("message: ").text(text).text(" (").text(caption).text(")");
    write(event);
}
