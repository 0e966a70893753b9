#include "catalogue/core/VersionNumber.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

using Parts = std::array<std::int32_t, 4>;

TEST(VersionNumber, ParsesUpToFourParts)
{
    struct Case {
        const char *text;
        Parts parts;
    } cases[] = {
        {"1.2.0.7", {1, 2, 0, 7}},
        {"3.1", {3, 1, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"beta", {0, 0, 0, 0}},
        {"1.2.3.4.5", {1, 2, 3, 4}},
        {"1..3", {1, 0, 3, 0}},
        {" 2 . 7x.8", {2, 7, 8, 0}},
        {"1.70000.-1.2147483647", {1, 70000, -1, 2147483647}},
        {"1.99999999999", {1, 2147483647, 0, 0}},
    };
    for (const Case &c : cases) {
        Parts parts{9, 9, 9, 9};
        parseVersion(c.text, parts.data());
        EXPECT_EQ(parts, c.parts) << c.text;
    }
}

TEST(VersionNumber, FormatsUnsignedParts)
{
    char text[24];
    formatVersion(1, 14, 0, 2, text, sizeof text);
    EXPECT_STREQ(text, "1.14.0.2");
    formatVersion(65535, 65535, 65535, 65535, text, sizeof text);
    EXPECT_STREQ(text, "65535.65535.65535.65535");

    char small[6];
    formatVersion(4294967295u, 1, 2, 3, small, sizeof small);
    EXPECT_STREQ(small, "42949");
}

} // namespace
