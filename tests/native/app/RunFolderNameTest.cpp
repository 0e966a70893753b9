#include "app/core/RunFolderName.h"

#include <gtest/gtest.h>

namespace {

TEST(RunFolderName, MakesTheNumberedFolderOnlyWhenItFitsWhole)
{
    char out[15];
    EXPECT_TRUE(runFolderPath("C:\\T\\", 1, out, sizeof out));
    EXPECT_STREQ(out, "C:\\T\\K1\\");
    // "C:\Temp\K9999\" is 14 characters: 15 bytes hold it, 14 do not.
    EXPECT_TRUE(runFolderPath("C:\\Temp\\", MaxRunFolderNumber, out, 15));
    EXPECT_FALSE(runFolderPath("C:\\Temp\\", MaxRunFolderNumber, out, 14));
    EXPECT_STREQ(out, "");
}

} // namespace
