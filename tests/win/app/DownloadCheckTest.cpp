#include "app/DownloadCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct Download {
    const char *what;
    const char *path;
    std::int32_t catalogueVersion[4];
    bool promised;
};

class DownloadCheck : public ::testing::TestWithParam<Download> {};

TEST_P(DownloadCheck, AcceptsOnlyTheMakersProgramOfTheCatalogueVersion)
{
    const Download &download = GetParam();
    EXPECT_EQ(isPromisedProgram(download.path, download.catalogueVersion), download.promised);
}

INSTANTIATE_TEST_SUITE_P(Files, DownloadCheck,
    ::testing::Values(
        Download{"SameVersion", "Y:\\corvel-current.exe", {1, 2, 0, 7}, true},
        Download{"CompanyInCapitals", "Y:\\company-upper.exe", {1, 2, 0, 6}, true},
        Download{"OlderThanPromised", "Y:\\corvel-older.exe", {1, 2, 0, 7}, false},
        Download{"NewerThanPromised", "Y:\\corvel-newer.exe", {1, 2, 0, 7}, false},
        Download{"PartAbove16Bits", "Y:\\corvel-current.exe", {1, 2, 0, 65543}, false},
        Download{"AnotherMaker", "Y:\\maker-elsewhere.exe", {1, 2, 0, 6}, false},
        Download{"NoCompanyName", "Y:\\no-company.exe", {1, 2, 0, 6}, false},
        Download{"StringsInAnotherLanguage", "Y:\\other-language.exe", {1, 2, 0, 6}, false},
        Download{"NoVersionResource", "Y:\\no-version.exe", {0, 0, 0, 0}, false},
        Download{"Missing", "Y:\\absent.exe", {1, 2, 0, 7}, false}),
    [](const ::testing::TestParamInfo<Download> &info) { return std::string(info.param.what); });

TEST(DownloadCheckOfAnErrorPage, Refuses)
{
    const char *page = "D:\\Sample.exe";
    FILE *file = std::fopen(page, "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("<html><body><h1>404 Not Found</h1></body></html>\n", file);
    std::fclose(file);
    const std::int32_t version[4] = {0, 0, 0, 0};
    EXPECT_FALSE(isPromisedProgram(page, version));
    std::remove(page);
}

} // namespace
