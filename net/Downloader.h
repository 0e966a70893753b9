#pragma once
#include <windows.h>
#include <wininet.h>

#include "net/InternetHandle.h"
#include "resources/ResourceIds.h"
#include "toolkit/KernelHandles.h"

// Result codes of a fetch; each doubles as the string-table identifier of its text.
enum DownloadStatus : int {
    DownloadStopped = 5100,      // the progress hook asked to stop
    DownloadNoConnection = IDS_NO_CONNECTION,
    DownloadOpenRequestFailed = IDS_OPEN_REQUEST_FAILED,
    DownloadSendRequestFailed = IDS_SEND_REQUEST_FAILED,
    DownloadReadError = IDS_READ_ERROR,
    DownloadRefused = IDS_REFUSED,  // the server answered with a status other than 200
    DownloadProxySignIn = IDS_PROXY_SIGN_IN,  // a proxy answered 407
    DownloadInsecure = IDS_SECURE_CONNECTION_FAILED,  // the server's certificate is not trusted
    DownloadWriteFailed = 5002,  // also: no transfer buffer
    DownloadCreateFailed = 5004,
};

// Fetches one URL at a time over HTTP/1.0 (or HTTPS) into a local file, block by block,
// calling onProgress between blocks. Owns the Internet session.
class Downloader {
public:
    // The sizes of the callers' URL and local path buffers given to fetchAndReport.
    static constexpr unsigned UrlBufferSize = 100;
    static constexpr unsigned LocalPathBufferSize = 280;
    static constexpr unsigned BlockSize = 6000;
    static constexpr DWORD DefaultTimeoutMs = 30000;

    Downloader();
    virtual ~Downloader();
    Downloader(const Downloader &) = delete;
    Downloader &operator=(const Downloader &) = delete;

    int openSession(const char *agentName);
    int fetch(const char *url, const char *localPath);
    // Puts fileName after the folders held in urlBuffer (UrlBufferSize bytes)
    // and localPathBuffer (LocalPathBufferSize bytes), fetches, and on failure
    // closes the session and shows a warning owned by the message owner.
    int fetchAndReport(char *urlBuffer, char *localPathBuffer, const char *fileName);
    void closeSession();
    unsigned bytesPerSecond();
    virtual int onProgress();
    // Called once at the end of every fetch, whatever its outcome, while
    // currentName and totalBytes still describe it.
    virtual void onFetchEnd();

    // The window that owns the warning boxes of fetchAndReport (the main window).
    void setMessageOwner(HWND owner) { messageOwner_ = owner; }
    // Connect and receive time-out of sessions opened from now on.
    void setTimeout(DWORD milliseconds) { timeoutMs_ = milliseconds; }

    int status;
    unsigned totalBytes;
    const char *currentName;
    InternetHandle session;
    SYSTEMTIME startTime;

protected:
    struct BlockRead {
        BOOL ok;
        DWORD count;
        DWORD error;  // GetLastError() of a failed read
    };
    // One read of the response body; replaced in tests to script failures.
    virtual BlockRead readBlock(HINTERNET request, char *buffer, DWORD size);
    // The current UTC time; replaced in tests to set the clock.
    virtual SYSTEMTIME currentUtcTime();
    // Gets the transfer buffer (BlockSize + 1 bytes); replaced in tests to fail it.
    virtual bool allocateTransferBuffer(GlobalBlock &buffer);

    // Copies the body into file until its end, a stop, a write failure or a
    // read error; announcedLength is the Content-Length, or -1 when none came.
    // Returns 1 on success, else 0 with status set.
    int copyBody(HINTERNET request, HANDLE file, char *buffer, long long announcedLength);

private:
    int receive(const char *url, const char *localPath);

    HWND messageOwner_ = nullptr;
    DWORD timeoutMs_ = DefaultTimeoutMs;
};
