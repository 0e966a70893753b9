#include "catalogue/Catalogue.h"
#include "tests/harness/MessageBoxCatcher.h"
#include "tests/harness/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char *const VersionMessage =
    "Your version of Kestrel needs to be updated.\nGo to the Internet and get the latest version.";

std::string tempPath(const char *name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// Writes contents to a file of that name in the temporary folder; its path.
std::string tempFile(const char *name, const std::string &contents)
{
    const std::string path = tempPath(name);
    writeFile(path, contents);
    return path;
}

using Boxes = std::vector<std::pair<std::string, std::string>>; // text, caption

Boxes boxesOf(const MessageBoxCatcher &catcher)
{
    Boxes boxes;
    for (const MessageBoxCatcher::Box &box : catcher.boxes())
        boxes.emplace_back(box.text, box.caption);
    return boxes;
}

// The expected UTC of a catalogue time, by the program's rule: the local
// time zone's offset in force now.
FileTime expectedUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME local = {year, month, 0, day, hour, minute, second, 0};
    FILETIME localFileTime;
    FILETIME utc;
    EXPECT_TRUE(SystemTimeToFileTime(&local, &localFileTime));
    EXPECT_TRUE(LocalFileTimeToFileTime(&localFileTime, &utc));
    return {utc.dwLowDateTime, utc.dwHighDateTime};
}

std::uint64_t ticks(FileTime time) { return (std::uint64_t{time.highDateTime} << 32) | time.lowDateTime; }

const std::string WorkedExample = "[L]\r\n&7(2?KwT\r\n[U]\r\n"
                                  "Sample.exe|0|10/15/03|2:30:00 PM|-|1.2.0.7\r\n"
                                  "Other Tool.exe|0|1-5-04|9:05:00 AM|-|2.0.0.1\r\n";

const char CatalogueUrl[] = "http://updates.corvel.example/Utils/Kestrel.ini";
const char Token[] = "[L]\n&7(2?KwT\n";

class CatalogueReader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalogue.allocateEntries()); }
    void TearDown() override { catalogue.freeEntries(); }

    // Read as a build without a key reads it.
    int read(const std::string &path) { return catalogue.readCatalogue(path.c_str(), CatalogueUrl, ""); }

    WindowObject owner;
    Catalogue catalogue{owner};
    MessageBoxCatcher catcher;
};

TEST_F(CatalogueReader, AcceptsAndLoadsTheWorkedExample)
{
    const std::string path = tempFile("Kestrel.ini", WorkedExample);
    ASSERT_EQ(read(path), 1);
    EXPECT_TRUE(catcher.boxes().empty());
    ASSERT_EQ(catalogue.entryCount, 2);

    const CatalogueEntry &sample = catalogue.entries[0];
    EXPECT_STREQ(sample.fileName, "Sample.exe");
    EXPECT_EQ(ticks(sample.fileTime), ticks(expectedUtc(2003, 10, 15, 14, 30, 0)));
    EXPECT_EQ(std::vector<int>(sample.version, sample.version + 4), (std::vector<int>{1, 2, 0, 7}));
    const CatalogueEntry &other = catalogue.entries[1];
    EXPECT_STREQ(other.fileName, "Other Tool.exe");
    EXPECT_EQ(ticks(other.fileTime), ticks(expectedUtc(2004, 1, 5, 9, 5, 0)));

    // The offset is today's, not the one in force on the entry's date.
    TIME_ZONE_INFORMATION zone;
    const DWORD zoneState = GetTimeZoneInformation(&zone);
    const LONG bias = zone.Bias + (zoneState == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias);
    SYSTEMTIME local = {2003, 10, 0, 15, 14, 30, 0, 0};
    FILETIME localFileTime;
    SystemTimeToFileTime(&local, &localFileTime);
    const std::uint64_t localTicks = (std::uint64_t{localFileTime.dwHighDateTime} << 32) | localFileTime.dwLowDateTime;
    EXPECT_EQ(ticks(sample.fileTime), localTicks + std::int64_t{bias} * 60 * 10000000);

    // The reader lets go of the file: it can be deleted right away.
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_F(CatalogueReader, ChecksTheCompatibilityToken)
{
    struct Case {
        const char *name;
        std::string contents;
        int result;
    } cases[] = {
        {"LF alone, last line without line feed", "[L]\n&7(2?KwT", 1},
        {"trailing space", "[L]\n&7(2?KwT \n[U]\n", 0},
        {"no compatibility section", "[U]\n", 0},
    };
    for (const Case &c : cases) {
        catcher.clear();
        const std::string path = tempFile("Kestrel.ini", c.contents);
        EXPECT_EQ(read(path), c.result) << c.name;
        const Boxes expected = c.result ? Boxes{} : Boxes{{VersionMessage, "Kestrel"}};
        EXPECT_EQ(boxesOf(catcher), expected) << c.name;
    }
}

TEST_F(CatalogueReader, UnopenableFilesAreReportedByTheirPath)
{
    const std::string missing = tempPath("no-such-catalogue.ini");
    const std::string large = tempFile("Large.ini", "[L]\n&7(2?KwT\n" + std::string(1024 * 1024, ' '));
    const std::string held = tempFile("Held.ini", WorkedExample);
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    for (const std::string &path : {missing, large, held}) {
        catcher.clear();
        catalogue.entryCount = 7;
        EXPECT_EQ(read(path), 0) << path;
        EXPECT_EQ(catalogue.entryCount, 0) << path;
        EXPECT_EQ(boxesOf(catcher), (Boxes{{"Can't open file", path}})) << path;
    }
    CloseHandle(holder);
}

TEST_F(CatalogueReader, AFileOfExactlyTheLimitIsRead)
{
    std::string contents = "[L]\n&7(2?KwT\n";
    contents += std::string(1024 * 1024 - contents.size(), '\n');
    const std::string path = tempFile("Limit.ini", contents);
    EXPECT_EQ(read(path), 1);
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(CatalogueReader, BadDatesAndTimesNameTheEntry)
{
    struct Case {
        const char *name;
        std::string programs;
        std::string caption;
        int filled;
    } cases[] = {
        {"bad date", "A.exe|0|1/1/03|1:00:00 AM|n|1\nB.exe|0|2/29/01|1:00:00 AM|n|1\n", "B.exe", 1},
        {"no marker", "C.exe|0|1/1/03|1:00:00|n|1\n", "C.exe", 0},
        {"one space", "A.exe|0|1/1/03|1:00:00 AM|n|1\n \n", " ", 1},
        {"130-character line", "A.exe|0|1/1/03|1:00:00 AM|n|1" + std::string(101, '0') + "\n", "000", 1},
    };
    for (const Case &c : cases) {
        catcher.clear();
        const std::string path = tempFile("Kestrel.ini", "[L]\n&7(2?KwT\n[U]\n" + c.programs);
        EXPECT_EQ(read(path), 0) << c.name;
        EXPECT_EQ(catalogue.entryCount, c.filled) << c.name;
        EXPECT_EQ(boxesOf(catcher), (Boxes{{"Can't convert date / time.", c.caption}})) << c.name;
    }
}

TEST_F(CatalogueReader, StopsAtTheHundredAndFirstEntry)
{
    std::string programs = std::string(Token) + "[U]\n";
    for (int i = 0; i < 100; ++i)
        programs += "P" + std::to_string(i) + ".exe|0|1/1/03|1:00:00 AM|n|1\n";
    const std::string full = tempFile("Full.ini", programs);
    EXPECT_EQ(read(full), 1);
    EXPECT_EQ(catalogue.entryCount, 100);
    EXPECT_STREQ(catalogue.entries[99].fileName, "P99.exe");

    const std::string over = tempFile("Over.ini", programs + "Extra.exe|0|1/1/03|1:00:00 AM|n|1\n");
    EXPECT_EQ(read(over), 0);
    EXPECT_EQ(catalogue.entryCount, 100);
    EXPECT_EQ(boxesOf(catcher), (Boxes{{"The catalogue lists more than 100 programs.", "Kestrel"}}));
}

TEST_F(CatalogueReader, ANewLoadStartsAfreshAndClearsTheFlags)
{
    const std::string first = tempFile("First.ini", WorkedExample);
    ASSERT_EQ(read(first), 1);
    catalogue.entries[0].needsUpdate = 1;
    catalogue.entries[0].downloaded = 1;
    const std::string second = tempFile("Second.ini", std::string(Token) + "[U]\nNew.exe|5|1/1/03|1:00:00 AM|long note text|9.8.7.6\n");
    ASSERT_EQ(read(second), 1);
    ASSERT_EQ(catalogue.entryCount, 1);
    EXPECT_STREQ(catalogue.entries[0].fileName, "New.exe");
    EXPECT_STREQ(catalogue.entries[0].note, "long note t");
    EXPECT_EQ(catalogue.entries[0].number, 5);
    EXPECT_EQ(catalogue.entries[0].needsUpdate, 0);
    EXPECT_EQ(catalogue.entries[0].downloaded, 0);
}

// Today's local date moved by some days, in the catalogue's format.
std::string localDate(int days)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME time;
    SystemTimeToFileTime(&now, &time);
    const std::uint64_t moved = ((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) +
                                std::int64_t{days} * 24 * 3600 * 10000000;
    time = {static_cast<DWORD>(moved), static_cast<DWORD>(moved >> 32)};
    SYSTEMTIME day;
    FileTimeToSystemTime(&time, &day);
    return std::to_string(day.wMonth) + "/" + std::to_string(day.wDay) + "/" + std::to_string(day.wYear % 100 / 10) +
           std::to_string(day.wYear % 10);
}

const char ExpiredMessage[] = "The catalogue has expired.";
const std::string Hex(64, 'a');

TEST_F(CatalogueReader, WithoutAKeyAnExpiryDateIsStillHeld)
{
    struct Case {
        const char *name;
        std::string contents;
        int result;
        Boxes boxes;
    } cases[] = {
        {"expires today", "[Expires]\r\n" + localDate(0) + "\r\n" + WorkedExample, 1, {}},
        {"expired yesterday, checked before the token", "[U]\n[Expires]\n" + localDate(-1) + "\n", 0,
         {{ExpiredMessage, CatalogueUrl}}},
        {"a date that does not parse", WorkedExample + "[Expires]\n13/1/30\n", 0, {{ExpiredMessage, CatalogueUrl}}},
        {"a signature section is ignored", WorkedExample + "[Signature]\nnot base64\n[U]\nLate.exe|0|1/1/03|1:00:00 AM|n|1\n",
         1, {}},
    };
    for (const Case &c : cases) {
        catcher.clear();
        const std::string path = tempFile("Kestrel.ini", c.contents);
        EXPECT_EQ(read(path), c.result) << c.name;
        EXPECT_EQ(boxesOf(catcher), c.boxes) << c.name;
    }
    EXPECT_STREQ(catalogue.entries[2].fileName, "Late.exe");
}

TEST_F(CatalogueReader, WithoutAKeyChecksumsAndSizesAreTakenWhereWellFormed)
{
    const std::string path = tempFile("Kestrel.ini", WorkedExample + "[Hashes]\r\nSAMPLE.EXE|" + Hex +
                                                          "\r\nOther Tool.exe|" + Hex.substr(1) +
                                                          "\r\n[Sizes]\r\nOther Tool.exe|4096\r\n");
    ASSERT_EQ(read(path), 1);
    EXPECT_TRUE(catcher.boxes().empty());
    EXPECT_EQ(catalogue.entries[0].checksumStatus, ChecksumStatus::Present);
    EXPECT_EQ(catalogue.entries[0].checksum.bytes[31], 0xaa);
    EXPECT_EQ(catalogue.entries[1].checksumStatus, ChecksumStatus::Malformed);
    EXPECT_EQ(catalogue.entries[0].sizeStatus, SizeStatus::None);
    EXPECT_EQ(catalogue.entries[1].sizeStatus, SizeStatus::Present);
    EXPECT_EQ(catalogue.entries[1].size, 4096u);
}

// Only a build with the maker's key keeps an issue time: without a signature
// anyone could set it.
TEST_F(CatalogueReader, WithoutAKeyTheRegistryIsLeftAlone)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvel\\Kestrel");
    const std::string path = tempFile("Kestrel.ini", WorkedExample + "[Issued]\r\n2026-12-08T10:20:30Z\r\n");
    ASSERT_EQ(read(path), 1);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvel\\Kestrel", 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST(CatalogueWithoutEntries, LoadingWarnsInsteadOfWritingAnywhere)
{
    MessageBoxCatcher catcher;
    WindowObject owner;
    Catalogue catalogue(owner);
    const std::string path = tempFile("Kestrel.ini", WorkedExample);
    EXPECT_EQ(catalogue.readCatalogue(path.c_str(), CatalogueUrl, ""), 0);
    EXPECT_EQ(catalogue.entryCount, 0);
    EXPECT_EQ(boxesOf(catcher), (Boxes{{"Not enough memory for the catalogue.", "Kestrel"}}));
    EXPECT_EQ(catalogue.findEntryByName("Sample.exe"), 0);

    ASSERT_TRUE(catalogue.allocateEntries());
    catalogue.freeEntries();
    catalogue.freeEntries();
    EXPECT_EQ(catalogue.entries, nullptr);
}

} // namespace
