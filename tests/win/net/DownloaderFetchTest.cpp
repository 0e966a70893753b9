#include "net/Downloader.h"
#include "net/FileSink.h"
#include "tests/harness/MessageBoxCatcher.h"
#include "tests/win/net/MakerFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Records what the fetch shows at each progress call, and can ask to stop at one of them.
class RecordingDownloader : public Downloader {
public:
    struct Call {
        std::string name;
        unsigned totalBytes;
    };
    int onProgress() override
    {
        calls.push_back({currentName, totalBytes});
        return static_cast<int>(calls.size()) == stopAtCall ? 1 : 0;
    }
    std::vector<Call> calls;
    int stopAtCall = 0;
};

class DownloaderFetch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
        maker::setBehaviour("{}");
        CreateDirectoryA("D:\\out", nullptr);
        ASSERT_TRUE(downloader.openSession("Kestrel"));
    }
    std::string url(const char *name) { return std::string(maker::FolderUrl) + name; }

    RecordingDownloader downloader;
};

TEST_F(DownloaderFetch, OneBlockBodyIsWrittenWithThreeProgressCalls)
{
    std::string body = maker::bytes(100);
    maker::serve("Small.exe", body);

    ASSERT_TRUE(downloader.fetch(url("Small.exe").c_str(), "D:\\out\\Small.exe"));

    EXPECT_EQ(readFile("D:\\out\\Small.exe"), body);
    ASSERT_EQ(downloader.calls.size(), 3u);
    EXPECT_EQ(downloader.calls[0].name, "Small.exe");
    EXPECT_EQ(downloader.calls[0].totalBytes, 0u);
    EXPECT_EQ(downloader.calls[1].totalBytes, 100u);
    EXPECT_EQ(downloader.calls[2].totalBytes, 100u);
    EXPECT_STREQ(downloader.currentName, "");
    EXPECT_EQ(downloader.status, DownloadStopped);
}

TEST_F(DownloaderFetch, LargeBodyArrivesWhole)
{
    std::string body = maker::bytes(100000);
    maker::serve("Large.exe", body);

    ASSERT_TRUE(downloader.fetch(url("Large.exe").c_str(), "D:\\out\\Large.exe"));

    EXPECT_EQ(readFile("D:\\out\\Large.exe"), body);
    EXPECT_EQ(downloader.totalBytes, 100000u);
}

TEST_F(DownloaderFetch, EmptyBodyTruncatesTheLocalFile)
{
    maker::serve("Empty.ini", "");
    writeFile("D:\\out\\Empty.ini", "old content");

    ASSERT_TRUE(downloader.fetch(url("Empty.ini").c_str(), "D:\\out\\Empty.ini"));

    EXPECT_TRUE(maker::exists("D:\\out\\Empty.ini"));
    EXPECT_EQ(readFile("D:\\out\\Empty.ini"), "");
    EXPECT_EQ(downloader.calls.size(), 2u);
}

TEST_F(DownloaderFetch, StopAtTheEndOfBodyFailsAndLeavesNoFile)
{
    std::string body = maker::bytes(100);
    maker::serve("Small.exe", body);
    downloader.stopAtCall = 3;

    EXPECT_FALSE(downloader.fetch(url("Small.exe").c_str(), "D:\\out\\Stopped.exe"));

    EXPECT_EQ(downloader.status, DownloadStopped);
    EXPECT_FALSE(maker::exists("D:\\out\\Stopped.exe"));
}

TEST_F(DownloaderFetch, StopBeforeConnectingContactsNothing)
{
    maker::serve("Small.exe", "x");
    std::string before = maker::requestLog();
    downloader.stopAtCall = 1;

    EXPECT_FALSE(downloader.fetch(url("Small.exe").c_str(), "D:\\out\\NotFetched.exe"));

    EXPECT_EQ(downloader.status, DownloadStopped);
    EXPECT_FALSE(maker::exists("D:\\out\\NotFetched.exe"));
    EXPECT_EQ(maker::requestLog(), before);
}

// Every refused or broken answer before the body leaves an existing local
// file as it was; a cut-off body leaves no file at all.
struct BrokenAnswer {
    const char *behaviour;
    int status;
    bool fileTouched;
};

class DownloaderBrokenAnswer : public DownloaderFetch, public ::testing::WithParamInterface<BrokenAnswer> {};

TEST_P(DownloaderBrokenAnswer, FailsWithItsCode)
{
    maker::serve("Sample.exe", maker::bytes(20000));
    maker::setBehaviour(std::string("{\"Sample.exe\": ") + GetParam().behaviour + "}");
    writeFile("D:\\out\\Sample.exe", "the user's program");

    EXPECT_FALSE(downloader.fetch(url("Sample.exe").c_str(), "D:\\out\\Sample.exe"));

    EXPECT_EQ(downloader.status, GetParam().status);
    if (GetParam().fileTouched)
        EXPECT_FALSE(maker::exists("D:\\out\\Sample.exe"));
    else
        EXPECT_EQ(readFile("D:\\out\\Sample.exe"), "the user's program");
}

INSTANTIATE_TEST_SUITE_P(Answers, DownloaderBrokenAnswer,
                         ::testing::Values(BrokenAnswer{"{\"status\": 404}", DownloadRefused, false},
                                           BrokenAnswer{"{\"status\": 407}", DownloadProxySignIn, false},
                                           BrokenAnswer{"{\"status\": 500}", DownloadRefused, false},
                                           BrokenAnswer{"{\"close\": true}", DownloadSendRequestFailed, false},
                                           BrokenAnswer{"{\"truncate\": 5000}", DownloadReadError, true}));

TEST_F(DownloaderFetch, StalledTransferEndsAtTheReceiveTimeout)
{
    std::string body = maker::bytes(20000);
    maker::serve("Stall.exe", body);
    maker::setBehaviour("{\"Stall.exe\": {\"stall\": 60}}");
    downloader.closeSession();
    downloader.setTimeout(1000);
    ASSERT_TRUE(downloader.openSession("Kestrel"));
    const ULONGLONG start = GetTickCount64();

    EXPECT_FALSE(downloader.fetch(url("Stall.exe").c_str(), "D:\\out\\Stall.exe"));

    // Ended by the time-out, not by the server giving up after its 60 s.
    EXPECT_LT(GetTickCount64() - start, 30000u);
    EXPECT_EQ(downloader.status, DownloadReadError);
    EXPECT_FALSE(maker::exists("D:\\out\\Stall.exe"));
}

TEST_F(DownloaderFetch, BoundedSinkTakesItsLimitAndRefusesOneByteMore)
{
    maker::serve("Bound.ini", maker::bytes(10000));
    FileSink exact("D:\\out\\Exact.ini", 10000), over("D:\\out\\Over.ini", 9999);

    ASSERT_TRUE(downloader.fetch(url("Bound.ini").c_str(), exact));
    EXPECT_FALSE(downloader.fetch(url("Bound.ini").c_str(), over));
    EXPECT_EQ(downloader.status, DownloadTooLarge);
    EXPECT_EQ(readFile("D:\\out\\Exact.ini"), maker::bytes(10000));
    EXPECT_FALSE(maker::exists("D:\\out\\Over.ini"));
}

// A server that never stops sending: the fetch stops at the sink's bound and
// leaves nothing on disk.
TEST_F(DownloaderFetch, EndlessBodyStopsAtTheBoundAndLeavesNothing)
{
    const std::uint64_t limit = 1024 * 1024;
    maker::serve("Endless.ini", "[Version]\r\nKestrel 1.14\r\n");
    maker::setBehaviour("{\"Endless.ini\": {\"endless\": true}}");

    FileSink sink("D:\\out\\Endless.ini", limit);
    EXPECT_FALSE(downloader.fetch(url("Endless.ini").c_str(), sink));

    EXPECT_EQ(downloader.status, DownloadTooLarge);
    EXPECT_GT(downloader.totalBytes, limit);
    EXPECT_LE(downloader.totalBytes, limit + Downloader::BlockSize);
    EXPECT_FALSE(maker::exists("D:\\out\\Endless.ini"));
}

// A byte every half second, far below the bound of a short window: the fetch
// stops with the read error, and the progress hook runs between the bytes.
TEST_F(DownloaderFetch, TrickleBelowTheRateBoundStops)
{
    maker::serve("Trickle.exe", maker::bytes(200));
    maker::setBehaviour("{\"Trickle.exe\": {\"trickle\": 2}}");
    downloader.setRateWindow(3000, 3000);

    EXPECT_FALSE(downloader.fetch(url("Trickle.exe").c_str(), "D:\\out\\Trickle.exe"));

    EXPECT_EQ(downloader.status, DownloadReadError);
    EXPECT_LT(downloader.calls.back().totalBytes, 200u);
    // Reads take each byte as it comes, so the hook runs between them.
    EXPECT_GT(downloader.calls.size(), 3u);
    EXPECT_FALSE(maker::exists("D:\\out\\Trickle.exe"));
}

// A server that takes its time, before its answer or in the middle of the
// body, is waited for and asked once.
TEST_F(DownloaderFetch, SlowServerIsAskedOnceAndHeardToTheEnd)
{
    maker::serve("Slow.exe", maker::bytes(3000));
    for (const char *behaviour : {"{\"delay\": 1}", "{\"pause\": 2}"}) {
        maker::setBehaviour(std::string("{\"Slow.exe\": ") + behaviour + "}");
        const std::string before = maker::requestLog();

        ASSERT_TRUE(downloader.fetch(url("Slow.exe").c_str(), "D:\\out\\Slow.exe")) << behaviour;
        EXPECT_EQ(readFile("D:\\out\\Slow.exe"), maker::bytes(3000));
        EXPECT_EQ(maker::requestLog().substr(before.size()), maker::lastRequestLine() + "\n");
    }
}

TEST_F(DownloaderFetch, NameWithSpaceReachesTheServerEscaped)
{
    std::string body = maker::bytes(300);
    maker::serve("Other Tool.exe", body);

    ASSERT_TRUE(downloader.fetch(url("Other Tool.exe").c_str(), "D:\\out\\Other Tool.exe"));

    EXPECT_EQ(readFile("D:\\out\\Other Tool.exe"), body);
    // Through the proxy the request line carries the absolute address (Wine adds the port).
    EXPECT_EQ(maker::lastRequestLine(), "GET http://updates.corvel.example:80/Utils/Other%20Tool.exe HTTP/1.0");
}

TEST_F(DownloaderFetch, PercentInANameFetchesThatNameAndNoOther)
{
    std::string body = maker::bytes(300);
    maker::serve("A%41.exe", body);
    // What the server would hand out if the name's "%41" reached it as an escape.
    maker::serve("AA.exe", "another program");

    ASSERT_TRUE(downloader.fetch(url("A%41.exe").c_str(), "D:\\out\\A%41.exe"));

    EXPECT_EQ(readFile("D:\\out\\A%41.exe"), body);
    EXPECT_EQ(maker::lastRequestLine(), "GET http://updates.corvel.example:80/Utils/A%2541.exe HTTP/1.0");
}

TEST_F(DownloaderFetch, OverlongServerNameFailsBeforeContactingAnything)
{
    std::string before = maker::requestLog();
    std::string longUrl = "http://" + std::string(2084, 'a') + "/Utils/Sample.exe";

    EXPECT_FALSE(downloader.fetch(longUrl.c_str(), "D:\\out\\Long.exe"));

    EXPECT_EQ(downloader.status, DownloadNoConnection);
    EXPECT_FALSE(maker::exists("D:\\out\\Long.exe"));
    EXPECT_EQ(maker::requestLog(), before);
}

TEST_F(DownloaderFetch, ClosedSessionFailsToConnect)
{
    downloader.closeSession();
    downloader.closeSession();
    EXPECT_EQ(downloader.session.get(), nullptr);

    EXPECT_FALSE(downloader.fetch(url("Sample.exe").c_str(), "D:\\out\\Closed.exe"));

    EXPECT_EQ(downloader.status, DownloadNoConnection);
    EXPECT_FALSE(maker::exists("D:\\out\\Closed.exe"));
}

TEST_F(DownloaderFetch, LocalFileThatCannotBeCreatedFails)
{
    maker::serve("Small.exe", "x");
    EXPECT_FALSE(downloader.fetch(url("Small.exe").c_str(), "D:\\missing\\Small.exe"));
    EXPECT_EQ(downloader.status, DownloadCreateFailed);
}

TEST_F(DownloaderFetch, PortInTheUrlIsTheConnectionsPort)
{
    maker::serve("Small.exe", "x");

    EXPECT_TRUE(downloader.fetch("http://updates.corvel.example:8080/Utils/Small.exe", "D:\\out\\Port.exe"));

    EXPECT_EQ(maker::lastRequestLine(), "GET http://updates.corvel.example:8080/Utils/Small.exe HTTP/1.0");
}

TEST_F(DownloaderFetch, PortThatIsNoPortFailsBeforeContactingAnything)
{
    std::string before = maker::requestLog();

    EXPECT_FALSE(downloader.fetch("http://updates.corvel.example:70000/Utils/Small.exe", "D:\\out\\Port.exe"));

    EXPECT_EQ(downloader.status, DownloadNoConnection);
    EXPECT_EQ(maker::requestLog(), before);
}

// A caching proxy must ask the server again, and the request leaves nothing
// in the user's Internet cache and carries no cookie.
TEST_F(DownloaderFetch, RequestsBypassCachesAndCarryNoCookie)
{
    maker::serve("Fresh.ini", "fresh");
    maker::setBehaviour("{\"Fresh.ini\": {\"cookie\": \"session=1\"}}");

    ASSERT_TRUE(downloader.fetch(url("Fresh.ini").c_str(), "D:\\out\\Fresh.ini"));
    ASSERT_TRUE(downloader.fetch(url("Fresh.ini").c_str(), "D:\\out\\Fresh.ini"));

    std::string headers = maker::lastRequestHeaders();
    EXPECT_NE(headers.find("\nPragma: no-cache\n"), std::string::npos) << headers;
    EXPECT_EQ(headers.find("\nCookie:"), std::string::npos) << headers;
    DWORD size = 0;
    EXPECT_FALSE(GetUrlCacheEntryInfoA(url("Fresh.ini").c_str(), nullptr, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

} // namespace
