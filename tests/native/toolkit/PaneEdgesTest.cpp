#include "toolkit/core/PaneEdges.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct PaneCase {
    const char *name;
    int statusWidth;
    int charWidth;
    std::vector<int> widths;
    std::vector<int> expectedEdges;
};

class PaneEdges : public testing::TestWithParam<PaneCase> {};

TEST_P(PaneEdges, LastPaneEndsShortAndLaterPanesKeepTheirWidth)
{
    const PaneCase &c = GetParam();
    std::vector<int> edges(c.widths.size(), -99);
    computePaneEdges(c.statusWidth, c.charWidth, c.widths.data(), static_cast<int>(c.widths.size()),
                     edges.data());
    EXPECT_EQ(edges, c.expectedEdges);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PaneEdges,
    testing::Values(
        // The application's panes: the second is 14 characters wide and ends two
        // characters before the right end; the first pane's 80 does not count.
        PaneCase{"TwoPanes", 500, 6, {80, 14}, {404, 488}},
        PaneCase{"FirstWidthIgnored", 500, 6, {1, 14}, {404, 488}},
        PaneCase{"SinglePane", 500, 6, {80}, {494}},
        PaneCase{"SinglePaneAnyWidth", 321, 7, {3}, {314}},
        PaneCase{"ThreePanes", 600, 8, {10, 5, 20}, {376, 416, 576}},
        // Too narrow a window gives edges left of the start; the status window
        // clips them, nothing here must go wrong.
        PaneCase{"NarrowerThanPanes", 40, 6, {80, 14}, {-56, 28}}),
    [](const testing::TestParamInfo<PaneCase> &info) { return std::string(info.param.name); });

TEST(PaneEdgesNone, WritesNothingForNoPanes)
{
    int edge = 123;
    computePaneEdges(500, 6, nullptr, 0, &edge);
    EXPECT_EQ(edge, 123);
}
}
