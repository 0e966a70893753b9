#include <gtest/gtest.h>

#include <string>

#include "app/core/OldProgramName.h"

namespace {

TEST(OldProgramName, TheFirstIsDotOldThenDotOld2ToDotOld9)
{
    const std::string path = "C:\\Program Files\\Kestrel\\Kestrel.exe";
    const char *const expected[] = {".old", ".old2", ".old3", ".old4", ".old5", ".old6", ".old7", ".old8",
                                    ".old9"};
    ASSERT_EQ(sizeof expected / sizeof expected[0], static_cast<std::size_t>(OldProgramNameCount));
    for (int number = 1; number <= OldProgramNameCount; ++number) {
        char name[260];
        ASSERT_TRUE(oldProgramName(path.c_str(), number, name, sizeof name)) << number;
        EXPECT_EQ(std::string(name), path + expected[number - 1]);
    }
}

TEST(OldProgramName, RefusesNumbersOutsideTheRangeAnEmptyPathAndNamesThatDoNotFit)
{
    char name[16] = "untouched";
    for (int number : {0, -1, 10, 11, 100}) {
        EXPECT_FALSE(oldProgramName("Kestrel.exe", number, name, sizeof name)) << number;
        EXPECT_STREQ(name, "") << number;
    }
    EXPECT_FALSE(oldProgramName("", 1, name, sizeof name));

    // "Kestrel.exe.old" is 15 characters and fits 16 bytes; one more does not.
    EXPECT_TRUE(oldProgramName("Kestrel.exe", 1, name, 16));
    EXPECT_STREQ(name, "Kestrel.exe.old");
    EXPECT_FALSE(oldProgramName("Kestrel.exe", 2, name, 16));
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(oldProgramName("Kestrel.exe", 1, name, 15));
    EXPECT_FALSE(oldProgramName("Kestrel.exe", 1, name, 0));
}

} // namespace
