#include "toolkit/core/FrameLayout.h"

#include <gtest/gtest.h>

namespace {
void expectPlace(const ChildPlace &place, int x, int y, int width, int height)
{
    EXPECT_EQ(place.x, x);
    EXPECT_EQ(place.y, y);
    EXPECT_EQ(place.width, width);
    EXPECT_EQ(place.height, height);
}

TEST(FrameLayout, ListFillsTheSpaceBetweenTheBars)
{
    FrameLayout layout = layOutFrame(300, 400, 28, 20);
    expectPlace(layout.buttonBar, 0, 0, 300, 28);
    expectPlace(layout.listBox, 0, 28, 300, 352);
    expectPlace(layout.statusBar, 0, 380, 300, 20);
}

TEST(FrameLayout, HiddenStatusBarLetsTheListReachTheBottom)
{
    FrameLayout layout = layOutFrame(300, 400, 28, 0);
    expectPlace(layout.listBox, 0, 28, 300, 372);
    EXPECT_EQ(layout.statusBar.height, 0);
}

TEST(FrameLayout, ClientShorterThanTheBarsLeavesAnEmptyList)
{
    // A minimised frame reports a 0 x 0 client area.
    FrameLayout layout = layOutFrame(0, 0, 28, 20);
    EXPECT_EQ(layout.listBox.y, 28);
    EXPECT_EQ(layout.listBox.height, 0);
    layout = layOutFrame(200, 40, 28, 20);
    EXPECT_EQ(layout.listBox.height, 0);
    expectPlace(layout.statusBar, 0, 20, 200, 20);
}
}
