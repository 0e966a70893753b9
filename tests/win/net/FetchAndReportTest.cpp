#include "net/Downloader.h"
#include "tests/harness/MessageBoxCatcher.h"
#include "tests/win/net/MakerFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A downloader that can stop at its first progress call or fail to get its buffer.
class ScriptedDownloader : public Downloader {
public:
    int onProgress() override { return stopAtOnce ? 1 : 0; }
    bool allocateTransferBuffer(GlobalBlock &buffer) override
    {
        return failAllocation ? false : Downloader::allocateTransferBuffer(buffer);
    }
    bool stopAtOnce = false;
    bool failAllocation = false;
};

class FetchAndReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
        maker::setBehaviour("{}");
        maker::serve("Sample.exe", maker::bytes(1000));
        CreateDirectoryA("D:\\out", nullptr);
        std::strcpy(urlBuffer, maker::FolderUrl);
        std::strcpy(pathBuffer, "D:\\out\\Kestrel.ini");
        ASSERT_TRUE(downloader.openSession("Kestrel"));
    }

    char urlBuffer[Downloader::UrlBufferSize];
    char pathBuffer[PathBufferSize];
    ScriptedDownloader downloader;
    MessageBoxCatcher boxes;
};

TEST_F(FetchAndReport, BuildsUrlAndPathFromTheName)
{
    ASSERT_TRUE(downloader.fetchAndReport(urlBuffer, pathBuffer, "Sample.exe"));

    EXPECT_STREQ(urlBuffer, "http://updates.corvel.example/Utils/Sample.exe");
    EXPECT_STREQ(pathBuffer, "D:\\out\\Sample.exe");
    EXPECT_EQ(readFile("D:\\out\\Sample.exe"), maker::bytes(1000));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_NE(downloader.session.get(), nullptr);
}

struct Failure {
    const char *name;
    const char *behaviour;
    const char *text;
    const char *caption;
};

class FetchAndReportFailure : public FetchAndReport, public ::testing::WithParamInterface<Failure> {};

TEST_P(FetchAndReportFailure, ShowsTextAndCaption)
{
    const Failure &failure = GetParam();
    maker::setBehaviour(std::string("{\"Sample.exe\": ") + failure.behaviour + "}");
    if (std::strcmp(failure.name, "closed") == 0)
        downloader.closeSession();
    if (std::strcmp(failure.name, "stopped") == 0)
        downloader.stopAtOnce = true;
    if (std::strcmp(failure.name, "no buffer") == 0)
        downloader.failAllocation = true;
    if (std::strcmp(failure.name, "no file") == 0)
        std::strcpy(pathBuffer, "D:\\missing\\");

    EXPECT_FALSE(downloader.fetchAndReport(urlBuffer, pathBuffer, "Sample.exe"));

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, failure.text);
    EXPECT_EQ(boxes.boxes()[0].caption, failure.caption);
    EXPECT_EQ(downloader.session.get(), nullptr);
}

const char SampleUrl[] = "http://updates.corvel.example/Utils/Sample.exe";
INSTANTIATE_TEST_SUITE_P(
    Codes, FetchAndReportFailure,
    ::testing::Values(Failure{"stopped", "{}", "Unknown error", SampleUrl},
                      Failure{"closed", "{}", "Could not connect to the Internet", SampleUrl},
                      Failure{"no answer", "{\"close\": true}", "SendRequest failed", SampleUrl},
                      Failure{"cut off", "{\"truncate\": 10}", "Internet read error", SampleUrl},
                      Failure{"refused", "{\"status\": 404}", "The server refused the request", SampleUrl},
                      // The test server stands in as the proxy: its 407 is a proxy's, not the maker's refusal.
                      Failure{"proxy sign in", "{\"status\": 407}",
                              "The proxy server asks for a sign-in that Kestrel cannot give.", SampleUrl},
                      Failure{"no file", "{}", "Unknown error", "D:\\missing\\Sample.exe"},
                      Failure{"no buffer", "{}", "Unknown error", "D:\\out\\Sample.exe"}),
    [](const ::testing::TestParamInfo<Failure> &info) {
        std::string name = info.param.name;
        for (char &c : name)
            if (c == ' ')
                c = '_';
        return name;
    });

TEST_F(FetchAndReport, NoBufferLeavesTheLocalFileUntouched)
{
    writeFile("D:\\out\\Sample.exe", "the user's program");
    downloader.failAllocation = true;

    EXPECT_FALSE(downloader.fetchAndReport(urlBuffer, pathBuffer, "Sample.exe"));

    EXPECT_EQ(readFile("D:\\out\\Sample.exe"), "the user's program");
}

TEST_F(FetchAndReport, FailureClosesTheSessionForTheNextFetch)
{
    maker::setBehaviour("{\"Missing.exe\": {\"status\": 404}}");
    maker::serve("Missing.exe", "x");

    EXPECT_FALSE(downloader.fetchAndReport(urlBuffer, pathBuffer, "Missing.exe"));
    EXPECT_FALSE(downloader.fetchAndReport(urlBuffer, pathBuffer, "Sample.exe"));

    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].caption, "http://updates.corvel.example/Utils/Missing.exe");
    EXPECT_EQ(boxes.boxes()[1].text, "Could not connect to the Internet");
    EXPECT_EQ(boxes.boxes()[1].caption, "http://updates.corvel.example/Utils/Sample.exe");
}

TEST_F(FetchAndReport, NameTooLongForTheUrlBufferIsRefused)
{
    std::string name(70, 'n');

    EXPECT_FALSE(downloader.fetchAndReport(urlBuffer, pathBuffer, name.c_str()));

    EXPECT_STREQ(urlBuffer, "http://updates.corvel.example/Utils/");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Unknown error");
}

} // namespace
