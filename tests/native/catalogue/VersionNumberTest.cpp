#include "catalogue/core/AsciiText.h"
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

TEST(AsciiText, LowersOnlyAsciiLetters)
{
    char text[] = "The CORVEL Company \xC4\xD6 [Z@]";
    toLowerAscii(text);
    EXPECT_STREQ(text, "the corvel company \xC4\xD6 [z@]");
}

TEST(AsciiText, FindsTheFirstOccurrence)
{
    const char *text = "corvecorvelo corvel";
    EXPECT_EQ(findSubstring(text, "corvel"), text + 5);
    EXPECT_EQ(findSubstring("corve", "corvel"), nullptr);
    EXPECT_EQ(findSubstring("", "corvel"), nullptr);
    EXPECT_EQ(findSubstring("acme", "corvel"), nullptr);
    EXPECT_EQ(findSubstring("", ""), nullptr);
}

} // namespace
