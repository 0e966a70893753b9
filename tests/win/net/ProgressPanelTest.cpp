#include "net/ProgressDownloader.h"
#include "net/core/PanelLayout.h"
#include "tests/harness/WindowTearDown.h"
#include "tests/win/net/MakerFolder.h"
#include "toolkit/GdiHandles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const COLORREF Green = RGB(0, 255, 0);

// Records what each progress call would paint, and whether the panel is up.
class WatchedDownloader : public ProgressDownloader {
public:
    struct Paint {
        std::string name;
        unsigned totalBytes;
        bool panelVisible;
    };
    int onProgress() override
    {
        paints.push_back({currentName, totalBytes, progressWindow && IsWindowVisible(progressWindow) != 0});
        if (postQuitAtPaint == static_cast<int>(paints.size()))
            PostQuitMessage(0);
        return ProgressDownloader::onProgress();
    }
    std::vector<Paint> paints;
    int postQuitAtPaint = 0;
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

TEST_F(ProgressPanel, QuitMessageStopsTheFetchAtTheNextBlockAndStaysQueued)
{
    ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
    maker::setBehaviour("{}");
    maker::serve("Large.exe", maker::bytes(60000));
    ASSERT_TRUE(downloader.openSession("Kestrel"));
    downloader.createProgressWindow(parent, 40, Green);
    downloader.postQuitAtPaint = 3;  // during the first block's paint

    EXPECT_FALSE(downloader.fetch("http://updates.corvel.example/Utils/Large.exe", "D:\\out\\Large.exe"));

    EXPECT_EQ(downloader.status, DownloadStopped);
    EXPECT_EQ(downloader.paints.size(), 3u);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
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
