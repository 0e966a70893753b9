#pragma once
#include <windows.h>
#include <wininet.h>

#include "net/DownloadSink.h"
#include "net/InternetHandle.h"
#include "net/core/RateWindow.h"
#include "resources/ResourceIds.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

#include <cstdint>

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
    DownloadTooLarge = IDS_CANT_OPEN_FILE,  // the body passed its sink's limit
};

// Fetches one URL at a time over HTTP/1.0 (or HTTPS) into a sink (or a local
// file), block by block, calling onProgress between blocks. Owns the Internet
// session.
class Downloader {
public:
    // The sizes of the callers' URL and local path buffers given to fetchAndReport.
    static constexpr unsigned UrlBufferSize = 100;
    static constexpr unsigned BlockSize = 6000;
    // The connect, send and receive time-out of every handle: a platform
    // call that waits this long for the server ends the transfer.
    static constexpr DWORD DefaultTimeoutMs = 30000;
    // The slowest retrieval waited for: at least MinimumWindowBytes in every
    // RateWindowMs (1,024 bytes a second on average over any minute).
    static constexpr std::uint64_t RateWindowMs = 60000;
    static constexpr std::uint64_t MinimumWindowBytes = 61440;

    Downloader();
    virtual ~Downloader();
    Downloader(const Downloader &) = delete;
    Downloader &operator=(const Downloader &) = delete;

    int openSession(const char *agentName);
    // 1 when the whole body reached the sink and it kept it; else 0 with
    // status set, and the sink has dropped whatever it received.
    int fetch(const char *url, DownloadSink &sink);
    // Fetches into a file at localPath, which a failed fetch deletes.
    int fetch(const char *url, const char *localPath);
    // Puts fileName after the folder held in urlBuffer (UrlBufferSize bytes),
    // fetches into sink, and on failure closes the session and shows a warning
    // owned by the message owner.
    int fetchAndReport(char *urlBuffer, const char *fileName, DownloadSink &sink);
    // As above into a file: fileName also goes after the folder held in
    // localPathBuffer (PathBufferSize bytes).
    int fetchAndReport(char *urlBuffer, char *localPathBuffer, const char *fileName);
    void closeSession();
    unsigned bytesPerSecond();
    virtual int onProgress();
    // Called once at the end of every fetch, whatever its outcome, while
    // currentName and totalBytes still describe it.
    virtual void onFetchEnd();

    // The window that owns the warning boxes of fetchAndReport (the main window).
    void setMessageOwner(HWND owner) { messageOwner_ = owner; }
    // The connect, send and receive time-out of sessions opened from now on.
    void setTimeout(DWORD milliseconds) { timeoutMs_ = milliseconds; }
    // The rate bound of fetches started from now on.
    void setRateWindow(std::uint64_t windowMs, std::uint64_t minimumBytes)
    {
        rateWindow_ = RateWindow(windowMs, minimumBytes);
    }

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
    // Waits up to the receive time-out for body data, then reads at most
    // size bytes of what has come (a count of 0 with success: the end of the
    // body); replaced in tests to script failures.
    virtual BlockRead readBlock(HINTERNET request, char *buffer, DWORD size);
    // The current UTC time; replaced in tests to set the clock.
    virtual SYSTEMTIME currentUtcTime();
    // A monotonic clock in milliseconds, for silences and the rate bound;
    // replaced in tests to set the pace.
    virtual std::uint64_t millisecondsNow();
    // Gets the transfer buffer (BlockSize + 1 bytes); replaced in tests to fail it.
    virtual bool allocateTransferBuffer(GlobalBlock &buffer);

    // Hands the body to sink until its end, a stop, a refusal by the sink or a
    // read error; announcedLength is the Content-Length, or -1 when none came.
    // Returns 1 when the sink kept the whole body, else 0 with status set
    // (the sink not yet told to drop).
    int copyBody(HINTERNET request, DownloadSink &sink, char *buffer, long long announcedLength);

private:
    int receive(const char *url, DownloadSink &sink);
    void setTimeouts(HINTERNET handle) const;
    // Closes the session and shows the warning for status; always 0.
    int report(const char *url, const char *localPath);

    HWND messageOwner_ = nullptr;
    DWORD timeoutMs_ = DefaultTimeoutMs;
    RateWindow rateWindow_{RateWindowMs, MinimumWindowBytes};
};
