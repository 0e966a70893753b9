#include <gtest/gtest.h>

#include <string>

#include "app/core/OldProgramName.h"

namespace {

TEST(OldProgramName, DotOldThenDotOld2ToDotOld9AndNothingElse)
{
    const std::string path = "C:\\Program Files\\Kestrel\\Kestrel.exe";
    const char *const suffixes[] = {".old", ".old2", ".old3", ".old4", ".old5", ".old6", ".old7", ".old8", ".old9"};
    char name[260] = "untouched";
    for (int number = 0; number <= OldProgramNameCount + 1; ++number) {
        const bool named = oldProgramName(path.c_str(), number, name, sizeof name);
        const bool inRange = number >= 1 && number <= OldProgramNameCount;
        EXPECT_EQ(named, inRange) << number;
        EXPECT_EQ(std::string(name), inRange ? path + suffixes[number - 1] : "") << number;
    }
    EXPECT_FALSE(oldProgramName("", 1, name, sizeof name));

    // "Kestrel.exe.old" is 15 characters and fits 16 bytes; one more does not.
    EXPECT_TRUE(oldProgramName("Kestrel.exe", 1, name, 16));
    EXPECT_FALSE(oldProgramName("Kestrel.exe", 2, name, 16));
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(oldProgramName("Kestrel.exe", 1, name, 15));
    EXPECT_FALSE(oldProgramName("Kestrel.exe", 1, name, 0));
}

} // namespace
