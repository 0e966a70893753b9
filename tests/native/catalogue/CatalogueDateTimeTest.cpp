#include "catalogue/core/CatalogueDateTime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CatalogueDate, ReadsMonthDayAndTwoDigitYear)
{
    struct Case {
        const char *text;
        int valid;
        int year, month, day;
    } cases[] = {
        {"10/15/03", 1, 2003, 10, 15},
        {"10-15-03", 1, 2003, 10, 15},
        {"10:15:03", 1, 2003, 10, 15},
        {"1-5-04", 1, 2004, 1, 5},
        {"12/31/99", 1, 1999, 12, 31},
        {"1/1/80", 1, 1980, 1, 1},
        {"12/31/50", 1, 2050, 12, 31},
        {"2/29/00", 1, 2000, 2, 29},
        {"2/29/96", 1, 1996, 2, 29},
        {"12/25/", 1, 2000, 12, 25},
        {" 4/ 30/ 10", 1, 2010, 4, 30},
        {"2/29/01", 0, 0, 0, 0},
        {"13/1/03", 0, 0, 0, 0},
        {"0/1/03", 0, 0, 0, 0},
        {"4/31/03", 0, 0, 0, 0},
        {"4/0/03", 0, 0, 0, 0},
        {"1/1/51", 0, 0, 0, 0},
        {"1/1/79", 0, 0, 0, 0},
        {"1/1/2003", 0, 0, 0, 0},
        {"12/25", 0, 0, 0, 0},
        {"1225", 0, 0, 0, 0},
        {"", 0, 0, 0, 0},
        {"-1/25/03", 0, 0, 0, 0},
        {"65537/1/03", 0, 0, 0, 0},
        {"1/65537/03", 0, 0, 0, 0},
        {"1/1/65539", 0, 0, 0, 0},
        {"1/1/99999999999999999999", 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        CalendarTime time{};
        EXPECT_EQ(parseCatalogueDate(c.text, time), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(time.year, c.year) << c.text;
            EXPECT_EQ(time.month, c.month) << c.text;
            EXPECT_EQ(time.day, c.day) << c.text;
        }
    }
}

TEST(CatalogueDate, LooksAtTheFirst39CharactersOnly)
{
    // The year's digits sit past the cut, so it reads as an empty year.
    const std::string padded = "12/25/" + std::string(33, ' ') + "99";
    CalendarTime time{};
    ASSERT_EQ(parseCatalogueDate(padded.c_str(), time), 1);
    EXPECT_EQ(time.year, 2000);

    const std::string slashPastCut = std::string(38, '1') + "/1/03";
    EXPECT_EQ(parseCatalogueDate(slashPastCut.c_str(), time), 0);
}

TEST(CatalogueTime, ReadsHourMinuteSecondAndMarker)
{
    struct Case {
        const char *text;
        int valid;
        int hour, minute, second;
    } cases[] = {
        {"2:30:00 PM", 1, 14, 30, 0},
        {"9:05:00 AM", 1, 9, 5, 0},
        {"12:00:00 AM", 1, 0, 0, 0},
        {"12:00:00 PM", 1, 12, 0, 0},
        {"9:05:07pm", 1, 21, 5, 7},
        {"14-30-00 PM", 1, 14, 30, 0},
        {"13:00:00 PM", 1, 13, 0, 0},
        {"11:59:59 a", 1, 11, 59, 59},
        {"0:00:00 Am", 1, 0, 0, 0},
        {"11:00:00 P.M.", 1, 23, 0, 0},
        {"10:30:00", 0, 0, 0, 0},
        {"10:30:00 XM", 0, 0, 0, 0},
        {"10:30 PM", 0, 0, 0, 0},
        {"10:60:00 AM", 0, 0, 0, 0},
        {"10:30:60 AM", 0, 0, 0, 0},
        {"13:00:00 AM", 0, 0, 0, 0},
        {"24:00:00 PM", 0, 0, 0, 0},
        {"-1:00:00 PM", 0, 0, 0, 0},
        {"1:-5:00 PM", 0, 0, 0, 0},
        {"65537:00:00 AM", 0, 0, 0, 0},
        {"", 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        CalendarTime time{};
        time.milliseconds = 99;
        EXPECT_EQ(parseCatalogueTime(c.text, time), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(time.hour, c.hour) << c.text;
            EXPECT_EQ(time.minute, c.minute) << c.text;
            EXPECT_EQ(time.second, c.second) << c.text;
            EXPECT_EQ(time.milliseconds, 0) << c.text;
        }
    }
}

TEST(CatalogueTime, MarkerPastThe39thCharacterIsMissing)
{
    const std::string late = "1:02:03" + std::string(32, ' ') + "PM";
    CalendarTime time{};
    EXPECT_EQ(parseCatalogueTime(late.c_str(), time), 0);
    const std::string justIn = "1:02:03" + std::string(31, ' ') + "PM";
    EXPECT_EQ(parseCatalogueTime(justIn.c_str(), time), 1);
}

} // namespace
