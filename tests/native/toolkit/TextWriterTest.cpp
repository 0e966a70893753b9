#include "toolkit/core/TextWriter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

TEST(TextWriter, NumbersAndTextsCutToTheBufferAndAlwaysTerminated)
{
    struct Case {
        long long value;
        std::size_t size;
        const char *expected;
    } cases[] = {
        {0, 32, "0 files"},
        {-1, 32, "-1 files"},
        {4294967295LL, 32, "4294967295 files"},
        {LLONG_MAX, 32, "9223372036854775807 files"},
        {LLONG_MIN, 32, "-9223372036854775808 files"},
        {1234, 5, "1234"},
        {1234, 4, "123"},
        {-5, 2, "-"},
        {7, 1, ""},
    };
    for (const Case &c : cases) {
        char out[40];
        std::memset(out, 'x', sizeof out);
        TextWriter(out, c.size).number(c.value).text(" files");
        EXPECT_STREQ(out, c.expected) << c.value << " in " << c.size;
        EXPECT_EQ(out[c.size], 'x') << "written past the buffer";
    }
}

TEST(TextWriter, LeavesABufferOfNoBytesAlone)
{
    char out = 'x';
    TextWriter(&out, 0).text("a").number(1);
    EXPECT_EQ(out, 'x');
}

} // namespace
