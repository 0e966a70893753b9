#include "net/Downloader.h"

#include "net/FileSink.h"
#include "net/InternetHandle.h"
#include "net/core/ReplaceFileName.h"
#include "net/core/RequestFailure.h"
#include "net/core/TransferRate.h"
#include "net/core/UrlParts.h"
#include "toolkit/CodePage.h"
#include "toolkit/HeapArray.h"
#include "toolkit/MessageRoute.h"
#include "toolkit/MonotonicClock.h"
#include "toolkit/ResourceText.h"

namespace {
constexpr unsigned ReadAttempts = 11;  // the first try and ten repeats
constexpr int MessageTextSize = 80;
const char EmptyName[] = "";

// Every file comes from the server itself: nothing is written to the user's
// Internet cache, a caching proxy is told to ask the server again (a stale
// catalogue would list programs that are already current), no cookie goes
// either way and the platform never shows a dialog of its own. A server that
// sends the request on from http:// to https:// is followed there (Windows
// fails the request otherwise): what comes back is checked by its signature
// and checksum, not by the channel.
DWORD requestFlags(bool secure)
{
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
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

// Wine reports a wait for data that ran out of time as the socket's own
// time-out rather than WinINet's.
constexpr DWORD SocketTimedOut = 10060;

// Windows cancels the request when a call waits longer than the receive
// time-out, and promises nothing of a call on it afterwards.
bool isTimeOut(DWORD error)
{
    return error == ERROR_INTERNET_TIMEOUT || error == SocketTimedOut;
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
    setTimeouts(session.get());
    return 1;
}

// Without time-outs a server that stops sending would hang the program for
// good. Set on the session and again on each request (Wine reads them from
// the request alone). No handle ever gets a shorter one: a call that runs out
// of time cancels its request.
void Downloader::setTimeouts(HINTERNET handle) const
{
    DWORD timeout = timeoutMs_;
    const DWORD options[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT};
    for (DWORD option : options)
        InternetSetOptionA(handle, option, &timeout, sizeof timeout);
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

std::uint64_t Downloader::millisecondsNow()
{
    return monotonicMicroseconds() / 1000;
}

Downloader::BlockRead Downloader::readBlock(HINTERNET request, char *buffer, DWORD size)
{
    // A read is never asked for more than has come: one asked for a whole
    // block may wait until the whole block is there, and on a trickle that
    // holds the transfer far beyond any time-out while the rate is never
    // checked. Asking what has come waits only until something has, the end
    // of the body is reached (nothing there, with success), or the time-out
    // passes.
    BlockRead read{};
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
        read.error = GetLastError();
        return read;
    }
    read.ok = TRUE;
    if (available == 0)
        return read;
    read.ok = InternetReadFile(request, buffer, available < size ? available : size, &read.count);
    read.error = read.ok ? 0 : GetLastError();
    return read;
}

bool Downloader::allocateTransferBuffer(GlobalBlock &buffer)
{
    return buffer.allocate(GMEM_FIXED, BlockSize + 1);
}

int Downloader::fetch(const char *url, const char *localPath)
{
    FileSink sink(localPath);
    return fetch(url, sink);
}

int Downloader::fetch(const char *url, DownloadSink &sink)
{
    status = DownloadStopped;
    totalBytes = 0;
    currentName = lastPathComponent(url, programLeadBytes());
    int result = 0;
    if (onProgress() == 0) {
        startTime = currentUtcTime();
        result = receive(url, sink);
    }
    onFetchEnd();
    currentName = EmptyName;
    return result;
}

// Everything of a fetch after the first progress call; the handles and the
// buffer are released in the reverse order of their making.
int Downloader::receive(const char *url, DownloadSink &sink)
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
    setTimeouts(request.get());
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
    int result = 0;
    if (sink.begin(announcedLength))
        result = copyBody(request.get(), sink, static_cast<char *>(buffer.get()), announcedLength);
    else
        status = sink.refusal();
    // Nothing of a failed fetch stays behind: a partial file could fill the
    // disk, or be taken later for a whole one.
    if (!result)
        sink.drop();
    return result;
}

// The rate is judged after every read that returns, whatever it brought:
// a server that sends a byte now and then, each within the time-out, is still
// stopped once its last minute fell short.
int Downloader::copyBody(HINTERNET request, DownloadSink &sink, char *buffer, long long announcedLength)
{
    unsigned failures = 0;
    rateWindow_.start(millisecondsNow());
    for (;;) {
        BlockRead read = readBlock(request, buffer, BlockSize);
        if (isTimeOut(read.error)) {
            status = DownloadReadError;
            return 0;
        }
        if (read.count > 0) {
            // A read that reports failure but delivered bytes still counts as data.
            totalBytes += read.count;
            if (!sink.receive(buffer, read.count)) {
                status = sink.refusal();
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
            if (!sink.end()) {
                status = sink.refusal();
                return 0;
            }
            return 1;
        } else if (++failures == ReadAttempts) {
            status = DownloadReadError;
            return 0;
        }
        if (rateWindow_.tooSlow(millisecondsNow(), totalBytes)) {
            status = DownloadReadError;
            return 0;
        }
    }
}

int Downloader::fetchAndReport(char *urlBuffer, const char *fileName, DownloadSink &sink)
{
    if (!replaceFileName(urlBuffer, UrlBufferSize, fileName, programLeadBytes())) {
        // A name too long for the buffer cannot be fetched by its name.
        status = DownloadCreateFailed;
        return report(urlBuffer, sink.path());
    }
    return fetch(urlBuffer, sink) ? 1 : report(urlBuffer, sink.path());
}

int Downloader::fetchAndReport(char *urlBuffer, char *localPathBuffer, const char *fileName)
{
    if (!replaceFileName(localPathBuffer, PathBufferSize, fileName, programLeadBytes())) {
        replaceFileName(urlBuffer, UrlBufferSize, fileName, programLeadBytes());
        status = DownloadCreateFailed;
        return report(urlBuffer, localPathBuffer);
    }
    FileSink sink(localPathBuffer);
    return fetchAndReport(urlBuffer, fileName, sink);
}

int Downloader::report(const char *url, const char *localPath)
{
    char text[MessageTextSize];
    loadMessageText(static_cast<UINT>(status), text, sizeof text);
    closeSession();
    // A fetch stopped because its owner window was closed is not news to anyone.
    if (messageOwner_ && !IsWindow(messageOwner_))
        return 0;
    showMessage(messageOwner_, text, status >= DownloadStopped ? url : localPath, MB_ICONWARNING);
    return 0;
}
