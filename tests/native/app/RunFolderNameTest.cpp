#include "app/core/RunFolderName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RunFolderName, MakesTheNumberedFolderOnlyWhenItFitsWhole)
{
    char out[16];
    EXPECT_TRUE(runFolderPath("C:\\T\\", 1, out, sizeof out));
    EXPECT_STREQ(out, "C:\\T\\K1\\");
    EXPECT_TRUE(runFolderPath("C:\\T\\", MaxRunFolderNumber, out, sizeof out));
    EXPECT_STREQ(out, "C:\\T\\K9999\\");
    EXPECT_EQ(std::string(out).size(), 5 + RunFolderNameLength);

    // "C:\\Temp\\K9999\\" is 14 characters: 15 bytes hold it, 14 do not.
    EXPECT_TRUE(runFolderPath("C:\\Temp\\", 9999, out, 15));
    EXPECT_FALSE(runFolderPath("C:\\Temp\\", 9999, out, 14));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(runFolderPath("C:\\Temp\\", 1, out, 0));
}

} // namespace
