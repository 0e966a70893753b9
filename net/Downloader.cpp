#include "net/Downloader.h"

#include "net/InternetHandle.h"
#include "net/core/ReplaceFileName.h"
#include "net/core/RequestFailure.h"
#include "net/core/TransferRate.h"
#include "net/core/UrlParts.h"
#include "toolkit/HeapArray.h"
#include "toolkit/ResourceText.h"

namespace {
constexpr unsigned ReadAttempts = 11;  // the first try and ten repeats
constexpr int MessageTextSize = 80;
const char EmptyName[] = "";

// Every file comes from the server itself: nothing is written to the user's
// Internet cache, a caching proxy is told to ask the server again (a stale
// catalogue would list programs that are already current), no cookie goes
// either way and the platform never shows a dialog of its own.
DWORD requestFlags(bool secure)
{
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    return secure ? flags | INTERNET_FLAG_SECURE : flags;
}

int failureStatus(RequestFailure failure)
{
    switch (failure) {
    case RequestFailure::Insecure:
        return DownloadInsecure;
    case RequestFailure::ProxySignIn:
        return DownloadProxySignIn;
    case RequestFailure::Refused:
        return DownloadRefused;
    default:
        return DownloadSendRequestFailed;
    }
}
}

Downloader::Downloader()
    : status(DownloadStopped), totalBytes(0), currentName(EmptyName), startTime{}
{
}

Downloader::~Downloader()
{
    closeSession();
}

int Downloader::openSession(const char *agentName)
{
    // A session left open from before would otherwise leak: close it first.
    session.reset(InternetOpenA(agentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return 0;
    // Without time-outs a server that stops sending would hang the program for good.
    DWORD timeout = timeoutMs_;
    InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    return 1;
}

void Downloader::closeSession()
{
    session.reset();
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
    // A port that is no number from 1 to 65535 names no server to connect to.
    if (!copyServerName(parts, server, sizeof server) || parts.port == 0 || !session) {
        status = DownloadNoConnection;
        return 0;
    }
    // Escaped here because the platform's own escaping of the object path is
    // not documented.
    HeapArray<char> objectPath;
    if (!objectPath.allocate(escapedObjectPathSize(parts.objectPath))) {
        status = DownloadOpenRequestFailed;
        return 0;
    }
    escapeObjectPath(parts.objectPath, objectPath.get(), objectPath.size());

    InternetHandle connection(InternetConnectA(session.get(), server, static_cast<INTERNET_PORT>(parts.port), "",
                                               "", INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        status = DownloadNoConnection;
        return 0;
    }
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", objectPath.get(), "HTTP/1.0", "", nullptr,
                                            requestFlags(parts.secure), 0));
    if (!request) {
        status = DownloadOpenRequestFailed;
        return 0;
    }
    DWORD timeout = timeoutMs_;
    InternetSetOptionA(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    if (!HttpSendRequestA(request.get(), "", 0, nullptr, 0)) {
        status = failureStatus(sendFailure(GetLastError()));
        return 0;
    }

    // Only a 200 answer carries the file: an error page must never become a
    // program file.
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr))
        code = 0;
    RequestFailure answer = answerFailure(code);
    if (answer != RequestFailure::None) {
        status = failureStatus(answer);
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
    loadMessageText(static_cast<UINT>(status), text, sizeof text);
    closeSession();
    // A fetch stopped because its owner window was closed is not news to anyone.
    if (messageOwner_ && !IsWindow(messageOwner_))
        return 0;
    MessageBoxA(messageOwner_, text, status >= DownloadStopped ? urlBuffer : localPathBuffer, MB_ICONWARNING);
    return 0;
}
