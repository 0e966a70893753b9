#include "net/ProgressDownloader.h"
#include "net/core/PanelLayout.h"
#include "tests/harness/WindowTearDown.h"
#include "tests/win/net/MakerFolder.h"
#include "toolkit/GdiHandles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

const COLORREF Green = RGB(0, 255, 0);

// Records each progress call, and whether the panel is up and a message
// posted before waits still; posts one more at each call. Its clock moves on
// by clockStep at every reading.
class WatchedDownloader : public ProgressDownloader {
public:
    struct Paint {
        std::string name;
        unsigned totalBytes;
        bool panelVisible;
        bool messageWaiting;
    };
    int onProgress() override
    {
        MSG waiting;
        paints.push_back({currentName, totalBytes, progressWindow && IsWindowVisible(progressWindow) != 0,
                          PeekMessageA(&waiting, nullptr, WM_APP, WM_APP, PM_NOREMOVE) != 0});
        PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
        if (postQuitAtPaint == static_cast<int>(paints.size()))
            PostQuitMessage(0);
        return ProgressDownloader::onProgress();
    }
    std::vector<Paint> paints;
    int postQuitAtPaint = 0;
    std::uint64_t clockStep = PumpInterval;

protected:
    std::uint64_t microsecondsNow() override { return clock += clockStep; }

private:
    std::uint64_t clock = 0;
};

class ProgressPanel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registerProgressWindowClass(); }

    void SetUp() override
    {
        parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        CreateDirectoryA("D:\\out", nullptr);
    }
    void TearDown() override
    {
        downloader.destroyProgressWindow();
        destroyAndDrain(parent);
    }

    HWND parent = nullptr;
    WatchedDownloader downloader;
};

TEST_F(ProgressPanel, IsCentredChildOfTheComputedSize)
{
    ASSERT_EQ(downloader.createProgressWindow(parent, 40, Green), 1);
    ASSERT_NE(downloader.progressWindow, nullptr);

    RECT client, panel;
    GetClientRect(parent, &client);
    GetWindowRect(downloader.progressWindow, &panel);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&panel), 2);
    PanelPlacement expected =
        placeProgressPanel(client.right, client.bottom, 40, downloader.charWidth, downloader.lineHeight);
    EXPECT_EQ(panel.left, expected.x);
    EXPECT_EQ(panel.top, expected.y);
    EXPECT_EQ(panel.right - panel.left, expected.width);
    EXPECT_EQ(panel.bottom - panel.top, expected.height);
    EXPECT_EQ(GetDlgCtrlID(downloader.progressWindow), ProgressDownloader::PanelId);
    EXPECT_EQ(downloader.backgroundColour, Green);
    EXPECT_GT(downloader.charWidth, 0);
}

TEST_F(ProgressPanel, FirstPaintShowsNoLeftoversOfThePreviousFetch)
{
    downloader.totalBytes = 12345;
    downloader.currentName = "Previous.exe";

    downloader.createProgressWindow(parent, 40, Green);

    ASSERT_EQ(downloader.paints.size(), 1u);
    EXPECT_EQ(downloader.paints[0].name, "");
    EXPECT_EQ(downloader.paints[0].totalBytes, 0u);
    EXPECT_TRUE(downloader.paints[0].panelVisible);
}

TEST_F(ProgressPanel, EmptyFetchPaintsThreeTimesWithThePanelUp)
{
    ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
    maker::setBehaviour("{}");
    maker::serve("Empty.ini", "");
    ASSERT_TRUE(downloader.openSession("Kestrel"));
    downloader.createProgressWindow(parent, 40, Green);

    ASSERT_TRUE(downloader.fetch("http://updates.corvel.example/Utils/Empty.ini", "D:\\out\\Empty.ini"));

    ASSERT_EQ(downloader.paints.size(), 3u);
    EXPECT_EQ(downloader.paints[1].name, "Empty.ini");
    for (const auto &paint : downloader.paints)
        EXPECT_TRUE(paint.panelVisible);
}

TEST_F(ProgressPanel, QuitMessageStopsTheFetchAtTheNextPumpAndStaysQueued)
{
    ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
    maker::setBehaviour("{}");
    maker::serve("Large.exe", maker::bytes(60000));
    ASSERT_TRUE(downloader.openSession("Kestrel"));
    // Calls 4 ms apart: messages go through at calls 1 (the panel's first
    // paint), 4, 7, ...; a quit posted at call 2, before connecting, is
    // seen at call 4, the second block's.
    downloader.clockStep = 4000;
    downloader.createProgressWindow(parent, 40, Green);
    downloader.postQuitAtPaint = 2;

    EXPECT_FALSE(downloader.fetch("http://updates.corvel.example/Utils/Large.exe", "D:\\out\\Large.exe"));

    EXPECT_EQ(downloader.status, DownloadStopped);
    EXPECT_EQ(downloader.paints.size(), 4u);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ProgressPanel, LetsMessagesThroughWithinTenMillisecondsNotAtEveryBlockAndAtTheEnd)
{
    ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
    maker::setBehaviour("{}");
    maker::serve("Large.exe", maker::bytes(60000));
    ASSERT_TRUE(downloader.openSession("Kestrel"));
    downloader.clockStep = 4000;
    downloader.createProgressWindow(parent, 40, Green);

    ASSERT_TRUE(downloader.fetch("http://updates.corvel.example/Utils/Large.exe", "D:\\out\\Large.exe"));

    // A message posted at one call (4 ms) waits at the next two calls at most.
    int waitingInARow = 0;
    int waitingCalls = 0;
    for (const auto &paint : downloader.paints) {
        waitingInARow = paint.messageWaiting ? waitingInARow + 1 : 0;
        waitingCalls += paint.messageWaiting;
        EXPECT_LE(waitingInARow, 2);
    }
    EXPECT_GT(waitingCalls, 0) << "messages were let through at every call";
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_NOREMOVE)) << "nothing let through at the end";
}

// Reads back the panel's byte count line from the screen and from a face
// drawn afresh on a memory bitmap with the given count.
std::pair<std::vector<COLORREF>, std::vector<COLORREF>> countLines(ProgressDownloader &shown, unsigned totalBytes)
{
    RECT client;
    GetClientRect(shown.progressWindow, &client);
    ProgressDownloader fresh;
    fresh.charWidth = shown.charWidth;
    fresh.lineHeight = shown.lineHeight;
    fresh.backgroundColour = shown.backgroundColour;
    fresh.totalBytes = totalBytes;
    WindowDC screen(shown.progressWindow);
    DeviceContextOwner memory(CreateCompatibleDC(screen.get()));
    BitmapOwner bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    fresh.draw(memory.get(), client);

    std::pair<std::vector<COLORREF>, std::vector<COLORREF>> lines;
    for (int y = 2 * shown.lineHeight; y < 3 * shown.lineHeight; ++y)
        for (int x = 0; x < client.right; ++x) {
            lines.first.push_back(GetPixel(screen.get(), x, y));
            lines.second.push_back(GetPixel(memory.get(), x, y));
        }
    SelectObject(memory.get(), old);
    return lines;
}

TEST_F(ProgressPanel, ShowsTheWholeCountAtTheEndEvenWhenNoRepaintWasDue)
{
    ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
    maker::setBehaviour("{}");
    maker::serve("Large.exe", maker::bytes(60000));
    ASSERT_TRUE(downloader.openSession("Kestrel"));
    downloader.clockStep = 0;  // after the first paint no repaint is ever due
    downloader.createProgressWindow(parent, 40, Green);
    ASSERT_NE(downloader.progressWindow, nullptr);

    ASSERT_TRUE(downloader.fetch("http://updates.corvel.example/Utils/Large.exe", "D:\\out\\Large.exe"));

    auto lines = countLines(downloader, 60000);
    EXPECT_EQ(lines.first, lines.second);
    EXPECT_NE(lines.second, countLines(downloader, 0).second) << "the check cannot tell counts apart";
}

TEST_F(ProgressPanel, DestroyedParentTakesThePanelAlong)
{
    downloader.createProgressWindow(parent, 40, Green);
    DestroyWindow(parent);
    parent = nullptr;

    EXPECT_EQ(downloader.progressWindow, nullptr);
    EXPECT_EQ(downloader.onProgress(), 0);
    downloader.destroyProgressWindow();
}

// The panel's face, drawn on a memory bitmap: green ground, and text only on
// the lines that have some.
class ClockedDownloader : public ProgressDownloader {
public:
    SYSTEMTIME currentUtcTime() override
    {
        SYSTEMTIME t{};
        t.wHour = 12;
        t.wSecond = static_cast<WORD>(second);
        return t;
    }
    int second = 0;
};

class PanelFace : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc.reset(CreateCompatibleDC(screen.get()));
        bitmap.reset(CreateCompatibleBitmap(screen.get(), Width, Height));
        selected = SelectObject(dc.get(), bitmap.get());
        downloader.charWidth = 7;
        downloader.lineHeight = 16;
        downloader.backgroundColour = Green;
        downloader.startTime.wHour = 12;
    }
    void TearDown() override { SelectObject(dc.get(), selected); }

    void draw()
    {
        RECT rect{0, 0, Width, Height};
        downloader.draw(dc.get(), rect);
    }
    void refresh()
    {
        RECT rect{0, 0, Width, Height};
        downloader.refresh(dc.get(), rect);
    }
    std::vector<COLORREF> pixels()
    {
        std::vector<COLORREF> all;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                all.push_back(GetPixel(dc.get(), x, y));
        return all;
    }
    // Pixels not in the background colour within one line's band.
    int inkOnLine(int line)
    {
        int ink = 0;
        for (int y = line * 16; y < (line + 1) * 16; ++y)
            for (int x = 0; x < Width; ++x)
                ink += GetPixel(dc.get(), x, y) != Green;
        return ink;
    }

    static constexpr int Width = 364;
    static constexpr int Height = 96;
    WindowDC screen{nullptr};
    DeviceContextOwner dc;
    BitmapOwner bitmap;
    HGDIOBJ selected = nullptr;
    ClockedDownloader downloader;
};

TEST_F(PanelFace, EmptyNameLeavesTheFirstLineBlank)
{
    draw();
    EXPECT_EQ(inkOnLine(0), 0);
    EXPECT_EQ(inkOnLine(1), 0);
    EXPECT_GT(inkOnLine(2), 0);
    EXPECT_GT(inkOnLine(3), 0);
    EXPECT_EQ(inkOnLine(4), 0);
    EXPECT_EQ(inkOnLine(5), 0);
}

TEST_F(PanelFace, NameIsDrawnOnTheFirstLineAfterTheIndent)
{
    downloader.currentName = "Sample.exe";
    draw();
    EXPECT_GT(inkOnLine(1), 0);
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 49; ++x)
            ASSERT_EQ(GetPixel(dc.get(), x, y), Green) << x << "," << y;
}

// However the state moved on, a refreshed face matches one drawn afresh.
struct Change {
    const char *what;
    unsigned totalBytes;
    int addedSeconds;
    const char *name;
};

class PanelRefresh : public PanelFace, public ::testing::WithParamInterface<Change> {};

TEST_P(PanelRefresh, MatchesAFreshFace)
{
    downloader.currentName = "Sample.exe";
    downloader.totalBytes = 99999;
    downloader.second = 50;
    draw();
    downloader.totalBytes = GetParam().totalBytes;
    downloader.second += GetParam().addedSeconds;
    downloader.currentName = GetParam().name;

    refresh();
    std::vector<COLORREF> refreshed = pixels();
    draw();

    EXPECT_EQ(refreshed, pixels()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Changes, PanelRefresh,
                         ::testing::Values(Change{"nothing", 99999, 0, "Sample.exe"},
                                           Change{"count only (rate stays 1999)", 99960, 0, "Sample.exe"},
                                           Change{"count and rate", 105999, 1, "Sample.exe"},
                                           Change{"name", 99999, 0, "Other.exe"}));

TEST_F(PanelFace, RateChangeRepaintsTheWholeFace)
{
    downloader.currentName = "Sample.exe";
    downloader.totalBytes = 60000;
    downloader.second = 1;
    draw();
    SetPixel(dc.get(), 2, 20, RGB(255, 0, 0));  // a sibling painted over the panel

    downloader.second = 2;
    refresh();

    EXPECT_EQ(GetPixel(dc.get(), 2, 20), Green);
}

} // namespace
