#include "net/Downloader.h"

#include "net/InternetHandle.h"
#include "net/core/ReplaceFileName.h"
#include "net/core/TransferRate.h"
#include "net/core/UrlParts.h"

#include <cstring>
#include <vector>

namespace {
constexpr unsigned ReadAttempts = 11;  // the first try and ten repeats
constexpr int MessageTextSize = 80;
const char EmptyName[] = "";
}

Downloader::Downloader()
    : status(DownloadStopped), totalBytes(0), currentName(EmptyName), session(nullptr), startTime{}
{
}

Downloader::~Downloader()
{
    closeSession();
}

int Downloader::openSession(const char *agentName)
{
    // A session left open from before would otherwise leak: close it first.
    closeSession();
    session = InternetOpenA(agentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session)
        return 0;
    // Without time-outs a server that stops sending would hang the program for good.
    DWORD timeout = timeoutMs_;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    return 1;
}

void Downloader::closeSession()
{
    if (session)
        InternetCloseHandle(session);
    session = nullptr;
}

int Downloader::onProgress()
{
    return 0;
}

void Downloader::onFetchEnd() {}

unsigned Downloader::bytesPerSecond()
{
    SYSTEMTIME now = currentUtcTime();
    return averageRate(totalBytes, secondOfDay(startTime.wHour, startTime.wMinute, startTime.wSecond),
                       secondOfDay(now.wHour, now.wMinute, now.wSecond));
}

SYSTEMTIME Downloader::currentUtcTime()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return now;
}

Downloader::BlockRead Downloader::readBlock(HINTERNET request, char *buffer, DWORD size)
{
    BlockRead read{};
    read.ok = InternetReadFile(request, buffer, size, &read.count);
    read.error = read.ok ? 0 : GetLastError();
    return read;
}

bool Downloader::allocateTransferBuffer(GlobalBlock &buffer)
{
    return buffer.allocate(GMEM_FIXED, BlockSize + 1);
}

int Downloader::fetch(const char *url, const char *localPath)
{
    status = DownloadStopped;
    totalBytes = 0;
    currentName = lastPathComponent(url);
    int result = 0;
    if (onProgress() == 0) {
        startTime = currentUtcTime();
        result = receive(url, localPath);
    }
    onFetchEnd();
    currentName = EmptyName;
    return result;
}

// Everything of a fetch after the first progress call; the handles, the file
// and the buffer are released in the reverse order of their making.
int Downloader::receive(const char *url, const char *localPath)
{
    UrlParts parts = splitUrl(url);
    char server[MaxServerNameLength + 1];
    if (!copyServerName(parts, server, sizeof server) || !session) {
        status = DownloadNoConnection;
        return 0;
    }
    // Escaped here because the platform's own escaping of the object path is
    // not documented.
    std::vector<char> objectPath(escapedObjectPathSize(parts.objectPath));
    escapeObjectPath(parts.objectPath, objectPath.data(), objectPath.size());

    InternetHandle connection(
        InternetConnectA(session, server, INTERNET_DEFAULT_HTTP_PORT, "", "", INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        status = DownloadNoConnection;
        return 0;
    }
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", objectPath.data(), "HTTP/1.0", "", nullptr,
                                            INTERNET_FLAG_RELOAD, 0));
    if (!request) {
        status = DownloadOpenRequestFailed;
        return 0;
    }
    DWORD timeout = timeoutMs_;
    InternetSetOptionA(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    if (!HttpSendRequestA(request.get(), "", 0, nullptr, 0)) {
        status = DownloadSendRequestFailed;
        return 0;
    }

    // Only a 200 answer carries the file: an error page must never become a
    // program file. No valid status line at all counts as no answer.
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr) ||
        code == 0) {
        status = DownloadSendRequestFailed;
        return 0;
    }
    if (code != HTTP_STATUS_OK) {
        status = DownloadRefused;
        return 0;
    }
    long long announcedLength = -1;
    DWORD length = 0;
    size = sizeof length;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr))
        announcedLength = length;

    GlobalBlock buffer;
    if (!allocateTransferBuffer(buffer)) {
        status = DownloadWriteFailed;
        return 0;
    }
    FileHandle file(CreateFileA(localPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        status = DownloadCreateFailed;
        return 0;
    }
    return copyBody(request.get(), file.get(), static_cast<char *>(buffer.get()), announcedLength);
}

int Downloader::copyBody(HINTERNET request, HANDLE file, char *buffer, long long announcedLength)
{
    unsigned failures = 0;
    for (;;) {
        BlockRead read = readBlock(request, buffer, BlockSize);
        if (read.count > 0) {
            // A read that reports failure but delivered bytes still counts as data.
            totalBytes += read.count;
            DWORD written = 0;
            if (!WriteFile(file, buffer, read.count, &written, nullptr) || written != read.count) {
                status = DownloadWriteFailed;
                return 0;
            }
            if (onProgress())
                return 0;
            failures = 0;
        } else if (read.ok) {
            if (onProgress())
                return 0;
            // A dropped connection can end like a normal body: only the
            // announced length tells a cut-off file from a whole one.
            if (announcedLength >= 0 && totalBytes < announcedLength) {
                status = DownloadReadError;
                return 0;
            }
            return 1;
        } else if (read.error == ERROR_INTERNET_TIMEOUT || ++failures == ReadAttempts) {
            // A time-out already waited the full receive time; repeating it
            // would only multiply the wait.
            status = DownloadReadError;
            return 0;
        }
    }
}

int Downloader::fetchAndReport(char *urlBuffer, char *localPathBuffer, const char *fileName)
{
    bool urlFits = replaceFileName(urlBuffer, UrlBufferSize, fileName);
    bool pathFits = replaceFileName(localPathBuffer, LocalPathBufferSize, fileName);
    if (urlFits && pathFits) {
        if (fetch(urlBuffer, localPathBuffer))
            return 1;
    } else {
        // A name too long for the buffers cannot be fetched into a file of its name.
        status = DownloadCreateFailed;
    }

    char text[MessageTextSize];
    if (LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(status), text, sizeof text) == 0)
        std::strcpy(text, "Unknown error");
    closeSession();
    // A fetch stopped because its owner window was closed is not news to anyone.
    if (messageOwner_ && !IsWindow(messageOwner_))
        return 0;
    MessageBoxA(messageOwner_, text, status >= DownloadStopped ? urlBuffer : localPathBuffer, MB_ICONWARNING);
    return 0;
}
