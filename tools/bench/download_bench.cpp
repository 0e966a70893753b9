// Times fetchAndReport with the progress panel shown, as the program runs it,
// against a bare WinINet read loop (same session settings, same 6000-byte
// reads written to a file, no window, no message pump), in one process and
// in alternating order; then each step the Update command takes after the
// download, on the fetched file, with the program's own functions. Run by
// tools/bench/download-bench.sh; not a test.
//
//   download_bench.exe <folder URL> <file name> <local folder> [rounds [checksum]]
//
// The checksum (64 hex digits) is the fetched file's SHA-256, and the file a
// maker's program of version 1.2.0.7, as in the Update's own checks.
#include "app/DownloadCheck.h"
#include "app/FetchSettings.h"
#include "app/SafeReplace.h"
#include "catalogue/Sha256.h"
#include "catalogue/core/HexText.h"
#include "net/ProgressDownloader.h"
#include "net/InternetHandle.h"
#include "toolkit/MessagePump.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double secondsSince(LARGE_INTEGER start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// Returns the bytes received, 0 on failure.
unsigned long long bareFetch(const std::string &url, const std::string &localPath)
{
    InternetHandle session(InternetOpenA(AgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    std::string rest = url.substr(url.find("//") + 2);
    std::string server = rest.substr(0, rest.find('/'));
    std::string path = rest.substr(rest.find('/'));
    InternetHandle connection(InternetConnectA(session.get(), server.c_str(), INTERNET_DEFAULT_HTTP_PORT, "", "",
                                               INTERNET_SERVICE_HTTP, 0, 0));
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", path.c_str(), "HTTP/1.0", "", nullptr,
                                            INTERNET_FLAG_RELOAD, 0));
    if (!request || !HttpSendRequestA(request.get(), "", 0, nullptr, 0))
        return 0;
    FileHandle file(CreateFileA(localPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    static char buffer[6001];
    unsigned long long total = 0;
    DWORD count = 0;
    while (InternetReadFile(request.get(), buffer, 6000, &count) && count > 0) {
        DWORD written = 0;
        WriteFile(file.get(), buffer, count, &written, nullptr);
        total += count;
    }
    return total;
}

// The download object with the pump but without a panel: separates the cost
// of painting from the cost of the fetch loop and the pump.
class PumpOnlyDownloader : public Downloader {
public:
    int onProgress() override { return pumpPendingMessages(); }
};

// Times the Update command's steps after a download on the file at path: the
// SHA-256 it takes while receiving (here of the whole file at once), the copy
// beside an installed copy written from the held file, the maker and version
// check of that copy, and the move over the installed copy. Best of rounds,
// in seconds.
struct UpdateSteps {
    double checksum = 1e9;
    double copy = 1e9;
    double identity = 1e9;
    double move = 1e9;
};

bool timeUpdateSteps(const char *path, const char *checksumHex, const char *target, int rounds, UpdateSteps &best)
{
    Sha256Digest expected;
    if (!decodeLowerHex(checksumHex, expected.bytes, Sha256Size))
        return false;
    const std::int32_t version[4] = {1, 2, 0, 7};
    auto keepBest = [](double &bestSoFar, LARGE_INTEGER start) {
        double seconds = secondsSince(start);
        bestSoFar = seconds < bestSoFar ? seconds : bestSoFar;
    };
    FileHandle held(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!held.valid())
        return false;
    for (int round = 0; round < rounds; ++round) {
        if (!CopyFileA(path, target, FALSE))
            return false;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        Sha256Digest digest;
        if (!sha256OfFile(path, digest) || std::memcmp(digest.bytes, expected.bytes, Sha256Size) != 0)
            return false;
        keepBest(best.checksum, start);

        ReplacementCopy copy;
        QueryPerformanceCounter(&start);
        if (!copy.write(held.get(), target))
            return false;
        keepBest(best.copy, start);

        QueryPerformanceCounter(&start);
        if (!isPromisedProgram(copy.path(), version))
            return false;
        keepBest(best.identity, start);

        QueryPerformanceCounter(&start);
        if (!copy.moveOverTarget())
            return false;
        keepBest(best.move, start);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: download_bench <folder URL> <file name> <local folder> [rounds [checksum]]\n");
        return 2;
    }
    const char *folderUrl = argv[1];
    const char *name = argv[2];
    std::string localFolder = argv[3];
    int rounds = argc > 4 ? std::atoi(argv[4]) : 3;

    WNDCLASSA mainClass{};
    mainClass.lpfnWndProc = DefWindowProcA;
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    mainClass.lpszClassName = "DownloadBenchMain";
    RegisterClassA(&mainClass);
    registerProgressWindowClass();
    HWND mainWindow = CreateWindowExA(0, "DownloadBenchMain", "Kestrel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      640, 480, nullptr, nullptr, nullptr, nullptr);

    static ProgressDownloader downloader;
    static PumpOnlyDownloader pumpOnly;
    downloader.setMessageOwner(mainWindow);
    pumpOnly.setMessageOwner(mainWindow);
    const char *const labels[3] = {"fetchAndReport with panel:", "fetchAndReport, pump only:",
                                   "bare WinINet read loop:   "};
    double best[3] = {1e9, 1e9, 1e9};
    unsigned long long size = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int pass = 0; pass < 3; ++pass) {
            int mode = (pass + round) % 3;  // each mode takes each place in turn
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            if (mode < 2) {
                Downloader &d = mode == 0 ? static_cast<Downloader &>(downloader) : pumpOnly;
                char urlBuffer[Downloader::UrlBufferSize];
                char pathBuffer[PathBufferSize];
                std::snprintf(urlBuffer, sizeof urlBuffer, "%s", folderUrl);
                std::snprintf(pathBuffer, sizeof pathBuffer, "%s\\Kestrel.ini", localFolder.c_str());
                d.openSession(AgentName);
                if (mode == 0)
                    downloader.createProgressWindow(mainWindow, 40, RGB(0, 255, 0));
                int ok = d.fetchAndReport(urlBuffer, pathBuffer, name);
                downloader.destroyProgressWindow();
                d.closeSession();
                if (!ok) {
                    std::fprintf(stderr, "fetchAndReport failed with %d\n", d.status);
                    return 1;
                }
                size = d.totalBytes;
            } else if (bareFetch(std::string(folderUrl) + name, localFolder + "\\bare.bin") == 0) {
                std::fprintf(stderr, "bare fetch failed\n");
                return 1;
            }
            double seconds = secondsSince(start);
            best[mode] = seconds < best[mode] ? seconds : best[mode];
        }
    }
    double mib = double(size) / (1024.0 * 1024.0);
    std::printf("file: %.1f MiB, best of %d rounds\n", mib, rounds);
    for (int mode = 0; mode < 3; ++mode)
        std::printf("%s %7.3f s  %7.1f MiB/s\n", labels[mode], best[mode], mib / best[mode]);
    std::printf("ratio (with panel / bare): %7.2f\n", best[2] / best[0]);

    if (argc > 5) {
        char fetched[PathBufferSize];
        char target[PathBufferSize];
        std::snprintf(fetched, sizeof fetched, "%s\\%s", localFolder.c_str(), name);
        std::snprintf(target, sizeof target, "%s\\installed.exe", localFolder.c_str());
        UpdateSteps steps;
        if (!timeUpdateSteps(fetched, argv[5], target, rounds, steps)) {
            std::fprintf(stderr, "an Update step failed on %s\n", fetched);
            return 1;
        }
        std::printf("Update steps after the download, best of %d rounds:\n", rounds);
        std::printf("  SHA-256 (taken while receiving):     %7.3f s\n", steps.checksum);
        std::printf("  stamped copy beside the target:      %7.3f s\n", steps.copy);
        std::printf("  maker and version check of the copy: %7.3f s\n", steps.identity);
        std::printf("  move over the target:                %7.3f s\n", steps.move);
    }
    DestroyWindow(mainWindow);
    return 0;
}
