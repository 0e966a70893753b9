#include "toolkit/core/Centring.h"

#include <gtest/gtest.h>

namespace {
struct CentringCase {
    const char *name;
    Box reference;
    Box window;
    Placement expected;
};

class Centring : public testing::TestWithParam<CentringCase> {};

TEST_P(Centring, PlacesTheGrownWindow)
{
    const CentringCase &c = GetParam();
    Placement p = centredPlacement(c.reference, c.window);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
    EXPECT_EQ(p.width, c.expected.width);
    EXPECT_EQ(p.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Centring,
    testing::Values(
        CentringCase{"OnTheScreen", {0, 0, 1024, 740}, {0, 0, 500, 300}, {262, 220, 501, 301}},
        // Where the window sits before does not matter, only its size.
        CentringCase{"FromElsewhere", {0, 0, 1024, 740}, {700, 600, 1200, 900}, {262, 220, 501, 301}},
        CentringCase{"OnAnOwner", {100, 100, 600, 500}, {0, 0, 200, 100}, {250, 250, 201, 101}},
        // Centring would cross the far edge by a pixel: the window is kept inside.
        CentringCase{"KeptInsideTheFarEdge", {100, 100, 110, 110}, {0, 0, 10, 10}, {99, 99, 11, 11}},
        CentringCase{"WiderThanTheReference", {0, 0, 100, 100}, {0, 0, 300, 50}, {0, 25, 301, 51}},
        CentringCase{"TallerThanTheReference", {0, 0, 100, 100}, {0, 0, 50, 300}, {25, 0, 51, 301}},
        CentringCase{"NeverNegativeOverAnOwnerOffScreen", {-400, -300, 100, 100}, {0, 0, 50, 50},
                     {0, 0, 51, 51}}),
    [](const testing::TestParamInfo<CentringCase> &info) { return std::string(info.param.name); });
}
