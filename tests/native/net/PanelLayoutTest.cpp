#include "net/core/PanelLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressPanelPlacement, FortyColumnsInA600By400Client)
{
    PanelPlacement p = placeProgressPanel(600, 400, 40, 7, 16);
    EXPECT_EQ(p.width, 364);
    EXPECT_EQ(p.height, 96);
    EXPECT_EQ(p.x, 118);
    EXPECT_EQ(p.y, 152);
    EXPECT_EQ(panelTextIndent(7), 49);
}

TEST(ProgressPanelPlacement, HalvesRoundTowardZero)
{
    // 53 × 7 = 371 wide: 601 / 2 − 371 / 2 = 300 − 185.
    PanelPlacement p = placeProgressPanel(601, 401, 41, 7, 17);
    EXPECT_EQ(p.x, 115);
    EXPECT_EQ(p.y, 200 - 51);
    // A parent narrower than the panel puts it at a negative position.
    EXPECT_EQ(placeProgressPanel(100, 50, 40, 7, 16).x, 50 - 182);
}

TEST(ProgressPanelLines, NumbersWithTheirSuffixes)
{
    char line[PanelLineSize];
    formatTotalLine(0, line, sizeof line);
    EXPECT_STREQ(line, "0 Total bytes");
    formatTotalLine(4294967295u, line, sizeof line);
    EXPECT_STREQ(line, "4294967295 Total bytes");
    formatRateLine(0, line, sizeof line);
    EXPECT_STREQ(line, "0 bytes/sec");
    formatRateLine(1234567, line, sizeof line);
    EXPECT_STREQ(line, "1234567 bytes/sec");
}

} // namespace
