#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueDateTime.h"
#include "catalogue/core/CatalogueEntries.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/CatalogueSizes.h"
#include "catalogue/core/CompatibilityToken.h"
#include "catalogue/core/SignedCatalogue.h"
#include "maker/core/CatalogueCheck.h"
#include "maker/core/CatalogueText.h"
#include "maker/core/CatalogueWriter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

CalendarTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    CalendarTime time{};
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    time.second = static_cast<std::uint16_t>(second);
    return time;
}

bool sameAscii(const char *a, const char *b)
{
    for (; *a && std::tolower(static_cast<unsigned char>(*a)) == std::tolower(static_cast<unsigned char>(*b)); ++a, ++b)
        ;
    return *a == *b;
}

// What Kestrel reads back must be what was written, at every edge of the
// two-digit year and the 12-hour clock.
TEST(CatalogueText, DatesAndTimesReadBackUnchanged)
{
    const CalendarTime cases[] = {
        at(1980, 1, 1, 0, 0, 0),    at(1999, 12, 31, 12, 0, 0), at(2000, 2, 29, 12, 59, 59),
        at(2003, 10, 15, 14, 30, 0), at(2009, 9, 9, 9, 9, 9),   at(2050, 12, 31, 23, 59, 59),
        at(2026, 7, 4, 11, 0, 5),   at(2026, 7, 4, 0, 30, 0),
    };
    for (const CalendarTime &written : cases) {
        char date[16];
        char time[16];
        formatCatalogueDate(written, date, sizeof date);
        formatCatalogueTime(written, time, sizeof time);
        CalendarTime read{};
        ASSERT_TRUE(parseCatalogueDate(date, read)) << date;
        ASSERT_TRUE(parseCatalogueTime(time, read)) << time;
        EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0) << date << " " << time;
    }
    char text[16];
    formatCatalogueDate(at(2027, 12, 8), text, sizeof text);
    EXPECT_STREQ(text, "12/8/27");
    formatCatalogueTime(at(2003, 1, 1, 0, 5, 7), text, sizeof text);
    EXPECT_STREQ(text, "12:05:07 AM");
}

TEST(CatalogueText, CountsDaysAcrossLeapYears)
{
    EXPECT_EQ(dayNumber(at(1970, 1, 1)), 0);
    EXPECT_EQ(dayNumber(at(2000, 3, 1)) - dayNumber(at(2000, 2, 28)), 2);
    EXPECT_EQ(dayNumber(at(2100, 3, 1)) - dayNumber(at(2100, 2, 28)), 1);
    EXPECT_EQ(dayNumber(at(2027, 1, 1)) - dayNumber(at(2026, 1, 1)), 365);
    // Counting forward lands on the same calendar days, across month, leap
    // day and year ends.
    for (const CalendarTime &from : {at(2026, 12, 8), at(2028, 2, 28), at(2000, 1, 1), at(2099, 12, 31)})
        for (long days : {0L, 1L, 90L, 366L, 1000L})
            EXPECT_EQ(dayNumber(daysLater(from, days)), dayNumber(from) + days) << from.year << "+" << days;
    const CalendarTime later = daysLater(at(2026, 12, 8), 90);
    EXPECT_EQ(later.year * 10000 + later.month * 100 + later.day, 20270308);
}

// The fullest catalogue the tool can write: the most programs, the longest
// names and versions, signed. Kestrel's readers must take all of it, and
// the check must find nothing.
TEST(CatalogueWriter, FullestCatalogueFitsAndReadsBack)
{
    static ListedProgram programs[MaxCatalogueEntries];
    for (int i = 0; i < MaxCatalogueEntries; ++i) {
        ListedProgram &program = programs[i];
        std::snprintf(program.name, sizeof program.name, "%054d.exe", i);
        program.local = at(2050, 12, 31, 23, 59, 59);
        std::strcpy(program.version, "65535.65535.65535.65535");
        for (int digit = 0; digit < 64; ++digit)
            program.checksum[digit] = "0123456789abcdef"[(i + digit) % 16];
        program.checksum[64] = '\0';
        program.size = UINT64_MAX - static_cast<std::uint64_t>(i);
    }
    static char text[CatalogueTextCapacity];
    std::size_t size =
        writeCatalogue(programs, MaxCatalogueEntries, at(2050, 12, 31, 23, 59, 59), at(2050, 12, 31), text, sizeof text);
    ASSERT_GT(size, 0u);
    unsigned char signature[P256SignatureSize];
    std::memset(signature, 0xA5, sizeof signature);
    const std::size_t unsignedSize = size;
    size = appendSignature(signature, text, size, sizeof text);
    ASSERT_GT(size, unsignedSize);

    ASSERT_TRUE(hasCompatibilityToken(text, size));
    static CatalogueEntry entries[MaxCatalogueEntries];
    const CatalogueReadResult read = readCatalogueEntries(
        text, size, entries, MaxCatalogueEntries, [](const CalendarTime &, FileTime &, void *) { return true; },
        nullptr);
    ASSERT_EQ(read.status, CatalogueReadStatus::Complete);
    ASSERT_EQ(read.entryCount, MaxCatalogueEntries);
    readCatalogueChecksums(text, size, entries, MaxCatalogueEntries, sameAscii);
    readCatalogueSizes(text, size, entries, MaxCatalogueEntries, sameAscii);
    for (int i = 0; i < MaxCatalogueEntries; ++i) {
        EXPECT_STREQ(entries[i].fileName, programs[i].name);
        EXPECT_EQ(entries[i].version[3], 65535);
        EXPECT_EQ(entries[i].checksumStatus, ChecksumStatus::Present) << i;
        EXPECT_EQ(entries[i].sizeStatus, SizeStatus::Present) << i;
        EXPECT_EQ(entries[i].size, programs[i].size) << i;
    }
    const CatalogueIssued issued = readCatalogueIssued(text, size);
    ASSERT_EQ(issued.status, IssuedStatus::Readable);
    EXPECT_EQ(std::memcmp(&issued.time, &programs[0].local, sizeof issued.time), 0);
    const SignedCatalogue split = splitSignedCatalogue(text, size);
    EXPECT_EQ(split.status, SignatureStatus::WellFormed);
    EXPECT_EQ(split.signedSize, unsignedSize);
    EXPECT_EQ(std::memcmp(split.signature, signature, sizeof signature), 0);

    static Findings findings;
    static CatalogueFacts facts;
    checkCatalogueText(text, size, sameAscii, findings, facts);
    checkExpiry(facts, at(2050, 1, 1), findings);
    EXPECT_EQ(findings.problems(), 0);
    EXPECT_EQ(findings.warnings(), 0);
    EXPECT_EQ(facts.programCount, MaxCatalogueEntries);

    EXPECT_EQ(writeCatalogue(programs, MaxCatalogueEntries, at(2050, 1, 1), at(2050, 12, 31), text, 4000), 0u);
}

} // namespace
