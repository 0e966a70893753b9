#include "net/core/ReplaceFileName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Replace {
    const char *before;
    const char *name;
    std::size_t capacity;
    bool fits;
    const char *after;
};

class ReplacingFileName : public ::testing::TestWithParam<Replace> {};

TEST_P(ReplacingFileName, KeepsTheFolderAndAppendsWhenItFits)
{
    const Replace &c = GetParam();
    char buffer[300];
    std::strcpy(buffer, c.before);
    EXPECT_EQ(replaceFileName(buffer, c.capacity, c.name, SingleByteCharacters), c.fits);
    EXPECT_STREQ(buffer, c.after);
}


INSTANTIATE_TEST_SUITE_P(
    Buffers, ReplacingFileName,
    ::testing::Values(
        Replace{"http://updates.corvel.example/Utils/", "Kestrel.ini", 100, true,
                "http://updates.corvel.example/Utils/Kestrel.ini"},
        Replace{"http://updates.corvel.example/Utils/Kestrel.ini", "Sample.exe", 100, true,
                "http://updates.corvel.example/Utils/Sample.exe"},
        Replace{"C:\\users\\root\\Temp\\Kestrel.ini", "Sample.exe", 280, true, "C:\\users\\root\\Temp\\Sample.exe"},
        // 36 + 63 characters and the terminator fill 100 bytes exactly; one more does not fit.
        Replace{"http://updates.corvel.example/Utils/", "123456789012345678901234567890123456789012345678901234567890123",
                100, true, "http://updates.corvel.example/Utils/123456789012345678901234567890123456789012345678901234567890123"},
        Replace{"http://updates.corvel.example/Utils/x", "1234567890123456789012345678901234567890123456789012345678901234",
                100, false, "http://updates.corvel.example/Utils/"}));

} // namespace
