#include "toolkit/ResourceText.h"

#include <gtest/gtest.h>

namespace {

// This test program carries no string table.
TEST(MessageText, WithoutTheStringItSaysUnknownErrorCutToTheBuffer)
{
    char text[80] = "stale";
    loadMessageText(5101, text, sizeof text);
    EXPECT_STREQ(text, "Unknown error");
    char small[5];
    loadMessageText(5101, small, sizeof small);
    EXPECT_STREQ(small, "Unkn");
}

} // namespace
