#include "FrameFixture.h"

#include "tests/harness/PaneText.h"

#include "toolkit/GdiHandles.h"

#include <commctrl.h>

#include <string>

namespace {
int statusCharWidth(HWND statusWindow)
{
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(statusWindow, WM_GETFONT, 0, 0));
    WindowDC dc(statusWindow);
    SelectedObject selected(dc.get(), font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmAveCharWidth;
}

using StatusBarInFrame = FrameFixture;

TEST_F(StatusBarInFrame, TakesTheAutomaticIdentifierBeforeTheList)
{
    // Identifiers are process-wide, so only their order is fixed here.
    ASSERT_NE(status.handle, nullptr);
    EXPECT_GE(status.id, 900);
    EXPECT_EQ(list.id, status.id + 1);
    EXPECT_EQ(GetDlgCtrlID(status.handle), status.id);
    EXPECT_EQ(GetDlgCtrlID(list.handle), list.id);
}

TEST_F(StatusBarInFrame, ResizeSetsPaneEdgesFromTheStatusWidth)
{
    setClientSize(500, 300);
    RECT rect;
    GetWindowRect(status.handle, &rect);
    const int width = rect.right - rect.left;
    const int charWidth = statusCharWidth(status.handle);
    ASSERT_GT(charWidth, 0);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(status.edges[1], width - 2 * charWidth);
    EXPECT_EQ(status.edges[0], status.edges[1] - 14 * charWidth);

    int parts[2] = {};
    ASSERT_EQ(SendMessageA(status.handle, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], status.edges[0]);
    EXPECT_EQ(parts[1], status.edges[1]);
}

TEST_F(StatusBarInFrame, PaneTextGoesToItsPaneAndBadIndexesAreIgnored)
{
    status.setPaneText(0, "Searching C:\\");
    status.setPaneText(1, "3 files");
    status.setPaneText(2, "beyond the panes");
    status.setPaneText(-1, "before the panes");
    EXPECT_EQ(paneText(status.handle, 0), "Searching C:\\");
    EXPECT_EQ(paneText(status.handle, 1), "3 files");
}

TEST_F(StatusBarInFrame, VisibleHeightIsZeroWhileHidden)
{
    RECT rect;
    GetWindowRect(status.handle, &rect);
    ShowWindow(frame.handle, SW_SHOW);
    EXPECT_EQ(status.visibleHeight(), rect.bottom - rect.top);
    EXPECT_GT(status.visibleHeight(), 0);
    ShowWindow(status.handle, SW_HIDE);
    EXPECT_EQ(status.visibleHeight(), 0);
}

TEST(StatusBarPanes, AddPaneBeyondCapacityIsIgnored)
{
    StatusBar bar;
    ASSERT_EQ(bar.allocatePanes(1), 1);
    bar.addPane(80, 0);
    bar.addPane(14, SBT_POPOUT);
    EXPECT_EQ(bar.count, 1);
    EXPECT_EQ(bar.widths[0], 80);
    EXPECT_EQ(bar.textStyles[0], 0);
}

TEST(StatusBarPanes, NoPanesBeforeAllocation)
{
    StatusBar bar;
    bar.addPane(80, 0);
    EXPECT_EQ(bar.count, 0);
    EXPECT_EQ(bar.allocatePanes(0), 0);
    EXPECT_EQ(bar.visibleHeight(), 0);
}
}
