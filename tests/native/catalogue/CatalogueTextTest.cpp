#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CompatibilityToken.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(CompatibilityToken, FoundOnlyRightAfterAnLHeader)
{
    struct Case {
        const char *name;
        std::string data;
        bool accepted;
    } cases[] = {
        {"plain", "[L]\n&7(2?KwT\n[U]\n", true},
        {"CR LF", "[L]\r\n&7(2?KwT\r\n", true},
        {"last line without line feed", "[L]\n&7(2?KwT", true},
        {"any rest of the header", "[Lizard\n&7(2?KwT\n", true},
        {"second header holds it", "[L]\nwrong\n[L]\n&7(2?KwT\n", true},
        {"trailing space", "[L]\n&7(2?KwT \n", false},
        {"leading space", "[L]\n &7(2?KwT\n", false},
        {"other case", "[L]\n&7(2?kwT\n", false},
        {"lower-case l header", "[l]\n&7(2?KwT\n", false},
        {"token without header", "&7(2?KwT\n", false},
        {"a line between", "[L]\n\n&7(2?KwT\n", false},
        {"header only", "[L]", false},
        {"tab stays a tab", "[L]\n&7(2?KwT\t\n", false},
        {"127-character header loses its token line", "[L" + std::string(125, ']') + "\n&7(2?KwT\n", false},
        {"126-character header keeps it", "[L" + std::string(124, ']') + "\n&7(2?KwT\n", true},
        {"empty file", "", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hasCompatibilityToken(c.data.data(), c.data.size()), c.accepted) << c.name;
}

// Stands in for the platform's conversion: packs the local date into the high
// half and the time into the low half, so the tests can read them back.
bool packTime(const CalendarTime &local, FileTime &utc, void *context)
{
    if (context)
        ++*static_cast<int *>(context);
    utc.highDateTime = local.year * 10000u + local.month * 100u + local.day;
    utc.lowDateTime = local.hour * 10000u + local.minute * 100u + local.second;
    return true;
}

bool refuseTime(const CalendarTime &, FileTime &, void *) { return false; }

struct Loaded {
    CatalogueReadResult result;
    std::vector<CatalogueEntry> entries;
};

Loaded load(const std::string &data, int capacity = MaxCatalogueEntries)
{
    Loaded loaded;
    loaded.entries.assign(MaxCatalogueEntries + 1, CatalogueEntry{});
    std::memset(loaded.entries.data(), 0x5A, loaded.entries.size() * sizeof(CatalogueEntry));
    loaded.result = readCatalogueEntries(data.data(), data.size(), loaded.entries.data(), capacity, packTime, nullptr);
    return loaded;
}

const std::string WorkedExample = "[L]\n&7(2?KwT\n[U]\n"
                                  "Sample.exe|0|10/15/03|2:30:00 PM|-|1.2.0.7\n"
                                  "Other Tool.exe|0|1-5-04|9:05:00 AM|-|2.0.0.1\n";

TEST(CatalogueEntries, ReadsTheWorkedExample)
{
    const Loaded loaded = load(WorkedExample);
    ASSERT_EQ(loaded.result.status, CatalogueReadStatus::Complete);
    ASSERT_EQ(loaded.result.entryCount, 2);
    const CatalogueEntry &first = loaded.entries[0];
    EXPECT_STREQ(first.fileName, "Sample.exe");
    EXPECT_STREQ(first.note, "-");
    EXPECT_EQ(first.number, 0);
    EXPECT_EQ(first.fileTime.highDateTime, 20031015u);
    EXPECT_EQ(first.fileTime.lowDateTime, 143000u);
    EXPECT_EQ(std::vector<int>(first.version, first.version + 4), (std::vector<int>{1, 2, 0, 7}));
    EXPECT_EQ(first.needsUpdate, 0);
    EXPECT_EQ(first.downloaded, 0);
    const CatalogueEntry &second = loaded.entries[1];
    EXPECT_STREQ(second.fileName, "Other Tool.exe");
    EXPECT_EQ(second.fileTime.highDateTime, 20040105u);
    EXPECT_EQ(second.fileTime.lowDateTime, 90500u);
    EXPECT_EQ(std::vector<int>(second.version, second.version + 4), (std::vector<int>{2, 0, 0, 1}));
}

TEST(CatalogueEntries, CrLfAndLfGiveTheSameEntries)
{
    std::string crlf;
    for (char c : WorkedExample) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    const Loaded a = load(WorkedExample);
    const Loaded b = load(crlf);
    ASSERT_EQ(b.result.entryCount, a.result.entryCount);
    EXPECT_EQ(std::memcmp(a.entries.data(), b.entries.data(), 2 * sizeof(CatalogueEntry)), 0);
}

const std::string Entry = "A.exe|0|1/1/03|1:00:00 AM|n|1\n";

TEST(CatalogueEntries, SectionRules)
{
    struct Case {
        const char *name;
        std::string data;
        CatalogueReadStatus status;
        int count;
    } cases[] = {
        {"before any header", Entry + "[U]\n" + Entry, CatalogueReadStatus::Complete, 1},
        {"other section", "[U]\n" + Entry + "[Notes]\n" + Entry + "[U]\n" + Entry, CatalogueReadStatus::Complete, 2},
        {"lower-case u", "[u]\n" + Entry, CatalogueReadStatus::Complete, 0},
        {"L section lines", "[L]\n&7(2?KwT\n" + Entry, CatalogueReadStatus::Complete, 0},
        {"no programs section", "[L]\n&7(2?KwT\n", CatalogueReadStatus::Complete, 0},
        {"bare bracket ends the section", "[U]\n" + Entry + "[\n" + Entry, CatalogueReadStatus::Complete, 1},
        {"empty line skipped", "[U]\n" + Entry + "\n\r\n" + Entry, CatalogueReadStatus::Complete, 2},
        {"one space is an entry", "[U]\n" + Entry + " \n" + Entry, CatalogueReadStatus::BadDateTime, 1},
        {"last line without line feed", "[U]\n" + Entry + "B.exe|0|1/1/03|1:00:00 AM|n|1",
         CatalogueReadStatus::Complete, 2},
        {"127 characters then an empty piece",
         "[U]\nA.exe|0|1/1/03|1:00:00 AM|n|1" + std::string(127 - 29, '0') + "\n" + Entry,
         CatalogueReadStatus::Complete, 2},
        {"130 characters split into a bad entry",
         "[U]\nA.exe|0|1/1/03|1:00:00 AM|n|1" + std::string(130 - 29, '0') + "\n" + Entry,
         CatalogueReadStatus::BadDateTime, 1},
        {"missing fields", "[U]\nA.exe|0|1/1/03\n", CatalogueReadStatus::BadDateTime, 0},
    };
    for (const Case &c : cases) {
        const Loaded loaded = load(c.data);
        EXPECT_EQ(loaded.result.status, c.status) << c.name;
        EXPECT_EQ(loaded.result.entryCount, c.count) << c.name;
    }
}

TEST(CatalogueEntries, FailingLineLeavesItsNameForTheMessage)
{
    const Loaded loaded = load("[U]\n" + Entry + "Broken.exe|0|2/29/01|1:00:00 AM|n|1\n" + Entry);
    EXPECT_EQ(loaded.result.status, CatalogueReadStatus::BadDateTime);
    ASSERT_EQ(loaded.result.entryCount, 1);
    EXPECT_STREQ(loaded.entries[1].fileName, "Broken.exe");
}

TEST(CatalogueEntries, RefusedConversionStopsTheReading)
{
    CatalogueEntry entries[2] = {};
    const std::string data = "[U]\n" + Entry;
    const CatalogueReadResult result = readCatalogueEntries(data.data(), data.size(), entries, 2, refuseTime, nullptr);
    EXPECT_EQ(result.status, CatalogueReadStatus::BadDateTime);
    EXPECT_EQ(result.entryCount, 0);
    EXPECT_STREQ(entries[0].fileName, "A.exe");
}

TEST(CatalogueEntries, FieldsAreCutToTheirRecords)
{
    const std::string name70(70, 'n');
    const Loaded loaded = load("[U]\n" + name70 + "| -42abc|12/25/|12:00:00 PM|a note that is long|3.1\n");
    ASSERT_EQ(loaded.result.entryCount, 1);
    const CatalogueEntry &entry = loaded.entries[0];
    EXPECT_EQ(std::string(entry.fileName), name70.substr(0, 58));
    EXPECT_EQ(entry.number, -42);
    EXPECT_STREQ(entry.note, "a note that");
    EXPECT_EQ(entry.fileTime.highDateTime, 20001225u);
    EXPECT_EQ(entry.fileTime.lowDateTime, 120000u);
    EXPECT_EQ(std::vector<int>(entry.version, entry.version + 4), (std::vector<int>{3, 1, 0, 0}));
}

TEST(CatalogueEntries, VersionFieldRunsToTheEndOfTheLine)
{
    const Loaded loaded = load("[U]\nA.exe|x|1/1/03|1:00:00 AM||7.|8.9\n");
    ASSERT_EQ(loaded.result.entryCount, 1);
    EXPECT_EQ(loaded.entries[0].number, 0);
    EXPECT_STREQ(loaded.entries[0].note, "");
    EXPECT_EQ(std::vector<int>(loaded.entries[0].version, loaded.entries[0].version + 4),
              (std::vector<int>{7, 0, 9, 0}));
}

TEST(CatalogueEntries, LongDateAndTimeFieldsAreCut)
{
    const std::string longDate = "1/2/03" + std::string(40, ' ');
    const std::string longTime = "1:02:03" + std::string(40, ' ') + "PM";
    EXPECT_EQ(load("[U]\nA.exe|0|" + longDate + "|1:00:00 AM|n|1\n").result.entryCount, 1);
    EXPECT_EQ(load("[U]\nA.exe|0|1/2/03|" + longTime + "|n|1\n").result.status, CatalogueReadStatus::BadDateTime);
}

TEST(CatalogueEntries, StopsAtTheEntryBeyondTheCapacity)
{
    std::string data = "[U]\n";
    for (int i = 0; i < 100; ++i)
        data += Entry;
    const Loaded full = load(data);
    EXPECT_EQ(full.result.status, CatalogueReadStatus::Complete);
    EXPECT_EQ(full.result.entryCount, 100);

    const Loaded over = load(data + "Extra.exe|0|1/1/03|1:00:00 AM|n|1\n");
    EXPECT_EQ(over.result.status, CatalogueReadStatus::TooManyEntries);
    EXPECT_EQ(over.result.entryCount, 100);
    const std::vector<char> untouched(sizeof(CatalogueEntry), 0x5A);
    EXPECT_EQ(std::memcmp(&over.entries[100], untouched.data(), sizeof(CatalogueEntry)), 0);
}

TEST(CatalogueEntries, ConvertsOncePerEntryInOrder)
{
    int calls = 0;
    std::vector<CatalogueEntry> entries(3);
    const std::string data = "[U]\n" + Entry + Entry + "\n" + Entry;
    readCatalogueEntries(data.data(), data.size(), entries.data(), 3, packTime, &calls);
    EXPECT_EQ(calls, 3);
}

} // namespace

TEST(CatalogueReaders, HoldTheReaderToTheCatalogueLineLimit)
{
    // A reader set up with a larger limit must not make the readers' own
    // 128-byte line buffers overflow.
    std::string text = "[L]\n&7(2?KwT\n[U]\n" + std::string(300, 'x') + "|0|1/1/03|1:00:00 AM|-|1.0.0.0\n";
    LineReader tokenLines(text.data(), text.size(), 4096);
    EXPECT_TRUE(hasCompatibilityToken(tokenLines));
    LineReader entryLines(text.data(), text.size(), 4096);
    CatalogueEntry entries[2] = {};
    CatalogueReadResult result = readCatalogueEntries(
        entryLines, entries, 2, [](const CalendarTime &, FileTime &, void *) { return true; }, nullptr);
    EXPECT_EQ(result.status, CatalogueReadStatus::BadDateTime);
    EXPECT_EQ(result.entryCount, 0);
}
