#include "net/Downloader.h"
#include "net/FileSink.h"
#include "tests/win/net/MakerFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>

namespace {

// Plays a script of reads instead of the network, and a clock that each
// read moves on by its step's time.
class ScriptedReads : public Downloader {
public:
    struct Step {
        BOOL ok;
        std::string data;
        DWORD error;
        std::uint64_t ms = 0;
    };
    BlockRead readBlock(HINTERNET, char *buffer, DWORD size) override
    {
        ++reads;
        if (script.empty())
            return {TRUE, 0, 0};
        Step step = script.front();
        script.pop_front();
        clock += step.ms;
        DWORD count = static_cast<DWORD>(step.data.size());
        EXPECT_LE(count, size);
        std::memcpy(buffer, step.data.data(), count);
        return {step.ok, count, step.error};
    }
    SYSTEMTIME currentUtcTime() override { return now; }
    std::uint64_t millisecondsNow() override { return clock; }
    int onProgress() override
    {
        ++progressCalls;
        return 0;
    }

    int run(long long announcedLength = -1)
    {
        status = DownloadStopped;
        totalBytes = 0;
        FileSink sink("D:\\body.bin");
        sink.begin(announcedLength);
        char buffer[BlockSize + 1];
        int result = copyBody(nullptr, sink, buffer, announcedLength);
        if (!result)
            sink.drop();
        return result;
    }

    std::deque<Step> script;
    int reads = 0;
    int progressCalls = 0;
    SYSTEMTIME now{};
    std::uint64_t clock = 1000000;
};

const ScriptedReads::Step FailedEmpty{FALSE, "", ERROR_INTERNET_CONNECTION_RESET};

TEST(ReadLoop, TenFailedReadsThenDataGoOnAndTheCountStartsAgain)
{
    ScriptedReads d;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 10; ++i)
            d.script.push_back(FailedEmpty);
        d.script.push_back({TRUE, "abc", 0});
    }

    EXPECT_TRUE(d.run());
    EXPECT_EQ(d.totalBytes, 6u);
    EXPECT_EQ(readFile("D:\\body.bin"), "abcabc");
}

TEST(ReadLoop, ElevenFailedReadsEndTheFetch)
{
    ScriptedReads d;
    d.script.push_back({TRUE, "abc", 0});
    for (int i = 0; i < 11; ++i)
        d.script.push_back(FailedEmpty);

    EXPECT_FALSE(d.run());
    EXPECT_EQ(d.status, DownloadReadError);
    EXPECT_EQ(d.reads, 12);
    EXPECT_FALSE(maker::exists("D:\\body.bin"));
}

// A call that ran out of time (WinINet's time-out, or the socket's under
// Wine) has cancelled the request: the fetch ends there, asking nothing more.
TEST(ReadLoop, ATimeOutEndsTheFetchAndNothingFollowsIt)
{
    for (DWORD error : {DWORD{ERROR_INTERNET_TIMEOUT}, DWORD{10060}}) {
        ScriptedReads d;
        d.script.push_back({TRUE, "abc", 0});
        d.script.push_back({FALSE, "", error});
        d.script.push_back({TRUE, "de", 0});

        EXPECT_FALSE(d.run());
        EXPECT_EQ(d.status, DownloadReadError);
        EXPECT_EQ(d.reads, 2) << error;
        EXPECT_FALSE(maker::exists("D:\\body.bin"));
    }
}

// Each byte within the time-out, yet 3 bytes a minute: the rate is judged at
// the first read that returns after the first minute, at 87 s.
TEST(ReadLoop, AByteEvery29SecondsStopsAtTheFirstReadAfterAMinute)
{
    ScriptedReads d;
    for (int i = 0; i < 10; ++i)
        d.script.push_back({TRUE, "x", 0, 29000});

    EXPECT_FALSE(d.run());
    EXPECT_EQ(d.status, DownloadReadError);
    EXPECT_EQ(d.reads, 3);
}

TEST(ReadLoop, FailedReadThatDeliversBytesKeepsThem)
{
    ScriptedReads d;
    d.script.push_back({FALSE, "xy", ERROR_INTERNET_CONNECTION_RESET});
    d.script.push_back({TRUE, "z", 0});

    EXPECT_TRUE(d.run());
    EXPECT_EQ(d.totalBytes, 3u);
    EXPECT_EQ(readFile("D:\\body.bin"), "xyz");
}

TEST(ReadLoop, BodyShorterThanAnnouncedIsAReadError)
{
    ScriptedReads d;
    d.script.push_back({TRUE, "abc", 0});

    EXPECT_FALSE(d.run(4));
    EXPECT_EQ(d.status, DownloadReadError);

    d.script.push_back({TRUE, "abcd", 0});
    EXPECT_TRUE(d.run(4));
}

SYSTEMTIME timeOfDay(WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 8;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

TEST(TransferRateClock, RateAcrossMidnightDividesByTheSecondsRun)
{
    ScriptedReads d;
    d.startTime = timeOfDay(23, 59, 50);
    d.now = timeOfDay(0, 0, 10);
    d.totalBytes = 2000;

    EXPECT_EQ(d.bytesPerSecond(), 100u);
}

TEST(TransferRateClock, RateInTheFirstSecondIsZero)
{
    ScriptedReads d;
    d.startTime = timeOfDay(12, 0, 0);
    d.now = timeOfDay(12, 0, 0);
    d.now.wMilliseconds = 900;
    d.totalBytes = 5000;

    EXPECT_EQ(d.bytesPerSecond(), 0u);
}

} // namespace
