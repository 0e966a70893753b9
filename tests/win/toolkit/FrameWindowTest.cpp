#include "FrameFixture.h"

#include "toolkit/MessagePump.h"

#include <algorithm>
#include <string>

namespace {
using FrameWindowTest = FrameFixture;

TEST_F(FrameWindowTest, ShowLaysOutTheChildren)
{
    frame.show(SW_SHOW);
    ASSERT_TRUE(IsWindowVisible(frame.handle));
    RECT client;
    GetClientRect(frame.handle, &client);
    EXPECT_EQ(frame.clientWidth, client.right);
    EXPECT_EQ(frame.clientHeight, client.bottom);
    RECT listRect = childRect(list.handle);
    EXPECT_EQ(listRect.top, frame.barHeight);
    EXPECT_EQ(listRect.bottom, client.bottom - status.visibleHeight());
    EXPECT_EQ(listRect.right - listRect.left, client.right);
}

TEST_F(FrameWindowTest, ListFillsTheSpaceBetweenTheBarsAfterResizes)
{
    frame.show(SW_SHOW);
    for (int height : {400, 250, 400}) {
        setClientSize(320, height);
        const int statusHeight = status.visibleHeight();
        ASSERT_GT(statusHeight, 0);
        RECT barRect = childRect(bar.handle);
        RECT listRect = childRect(list.handle);
        RECT statusRect = childRect(status.handle);
        EXPECT_EQ(barRect.top, 0) << height;
        EXPECT_EQ(barRect.bottom, frame.barHeight) << height;
        EXPECT_EQ(barRect.right, 320) << height;
        EXPECT_EQ(listRect.top, frame.barHeight) << height;
        EXPECT_EQ(listRect.bottom, statusRect.top) << height;
        EXPECT_EQ(listRect.bottom - listRect.top, height - frame.barHeight - statusHeight) << height;
        EXPECT_EQ(statusRect.bottom, height) << height;
        EXPECT_EQ(statusRect.right - statusRect.left, 320) << height;
    }
}

TEST_F(FrameWindowTest, HiddenStatusBarStaysHiddenAndTheListReachesTheBottom)
{
    frame.show(SW_SHOW);
    setClientSize(320, 380);
    ShowWindow(status.handle, SW_HIDE);
    setClientSize(320, 400);
    RECT listRect = childRect(list.handle);
    EXPECT_FALSE(IsWindowVisible(status.handle));
    EXPECT_EQ(listRect.top, frame.barHeight);
    EXPECT_EQ(listRect.bottom, 400);
}

TEST_F(FrameWindowTest, BarHeightComesFromTheDisplayFont)
{
    HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    TEXTMETRICA metrics{};
    GetTextMetricsA(display, &metrics);
    DeleteDC(display);
    EXPECT_EQ(frame.barHeight, metrics.tmHeight + 12);
    EXPECT_EQ(bar.barHeight, frame.barHeight);
    EXPECT_EQ(GetWindowLongA(list.handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    char className[32] = {};
    GetClassNameA(frame.handle, className, sizeof className);
    EXPECT_STREQ(className, "MainClass");
}

TEST_F(FrameWindowTest, CloseIsRefusedWhileCanCloseSaysNo)
{
    frame.allowClose = 0;
    SendMessageA(frame.handle, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame.handle));
    EXPECT_EQ(SendMessageA(frame.handle, WM_QUERYENDSESSION, 0, 0), 0);
    frame.allowClose = 1;
    EXPECT_EQ(SendMessageA(frame.handle, WM_QUERYENDSESSION, 0, 0), 1);
}

TEST_F(FrameWindowTest, CloseDestroysTheFrameAndRunEndsWithZero)
{
    HWND window = frame.handle;
    frame.show(SW_SHOW);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(frame.run(), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(frame.handle, nullptr);
}

TEST_F(FrameWindowTest, RunTranslatesLoadedAccelerators)
{
    ASSERT_TRUE(frame.loadAccelerators("FRAMETESTKEYS"));
    PostMessageA(frame.handle, WM_KEYDOWN, VK_F5, 1);
    PostMessageA(frame.handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(frame.run(), 0);
    ASSERT_EQ(frame.commands.size(), 1u);
    EXPECT_EQ(LOWORD(frame.commands[0].first), 40002);
    EXPECT_TRUE(frame.keysDown.empty());
}

TEST_F(FrameWindowTest, RunWithoutAcceleratorsDispatchesTheKey)
{
    EXPECT_FALSE(frame.loadAccelerators("NOSUCHKEYS"));
    PostMessageA(frame.handle, WM_KEYDOWN, VK_F5, 1);
    PostMessageA(frame.handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(frame.run(), 0);
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(frame.keysDown, std::vector<WPARAM>{VK_F5});
}

TEST_F(FrameWindowTest, PendingMessagePumpLeavesAcceleratorsAlone)
{
    ASSERT_TRUE(frame.loadAccelerators("FRAMETESTKEYS"));
    PostMessageA(frame.handle, WM_KEYDOWN, VK_F5, 1);
    EXPECT_EQ(pumpPendingMessages(), 0);
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(frame.keysDown, std::vector<WPARAM>{VK_F5});
}

TEST_F(FrameWindowTest, ShowLeavesTheWindowToOnBeforeShow)
{
    frame.showsItself = 1;
    frame.show(SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(frame.handle));
}

TEST_F(FrameWindowTest, FocusOnTheFrameGoesToTheList)
{
    frame.show(SW_SHOW);
    SetFocus(frame.handle);
    EXPECT_EQ(GetFocus(), list.handle);
}

// Real keys to a frame that is active but has no focus, as a minimised window:
// it gets every key as a system key. A frame Alt+F4 leaves open is closed by
// the timer, which fails the test instead of hanging it.
bool closedByTimer = false;

TEST_F(FrameWindowTest, SystemKeysItDoesNotUseGetTheSystemsHandling)
{
    ASSERT_TRUE(frame.loadAccelerators("FRAMETESTKEYS"));
    frame.show(SW_SHOW);
    SetForegroundWindow(frame.handle);
    SetFocus(nullptr);
    std::vector<INPUT> keys;
    for (int key : {VK_MENU, int('S'), -'S', -VK_MENU, VK_F10, -VK_F10, VK_MENU, VK_SPACE, -VK_SPACE, -VK_MENU, VK_MENU,
                    VK_F4, -VK_F4, -VK_MENU}) {
        keys.push_back(INPUT{INPUT_KEYBOARD, {}});
        keys.back().ki = KEYBDINPUT{static_cast<WORD>(key < 0 ? -key : key), 0, key < 0 ? KEYEVENTF_KEYUP : 0u, 0, 0};
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    static HWND closing = frame.handle;
    SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { closedByTimer = PostMessageA(closing, WM_CLOSE, 0, 0); });
    EXPECT_EQ(frame.run(), 0);
    EXPECT_FALSE(closedByTimer) << "Alt+F4 left the frame open";
    // Alt+S is still the accelerator; F10 and Alt+Space ask for the menu and the window menu.
    EXPECT_EQ(frame.keyMenus, (std::vector<LPARAM>{0, ' '}));
    frame.commands.erase(std::remove_if(frame.commands.begin(), frame.commands.end(),
                                        [](const auto &command) { return command.second != 0; }),
                         frame.commands.end());
    ASSERT_EQ(frame.commands.size(), 1u);
    EXPECT_EQ(LOWORD(frame.commands[0].first), 40003);
}

class RefusingFrame : public RecordingFrame {
public:
    int onCreate() override { return 0; }
};

class UncreatableList : public ProgramListBox {
public:
    int create(HWND, int, const char *, int, int, int, int) override { return 0; }
};

TEST(FrameWindowCreation, FailsWhenWindowCreationIsRefused)
{
    ProgramListBox list;
    ButtonBar bar;
    StatusBar status;
    RefusingFrame frame;
    EXPECT_FALSE(frame.createFrame(list, bar, status));
    EXPECT_EQ(frame.handle, nullptr);
    EXPECT_EQ(bar.handle, nullptr);
    EXPECT_EQ(list.handle, nullptr);
    destroyAndDrain(frame.handle);
}

TEST(FrameWindowCreation, FailsWhenTheListCannotBeCreated)
{
    UncreatableList list;
    ButtonBar bar;
    StatusBar status;
    RecordingFrame frame;
    EXPECT_FALSE(frame.createFrame(list, bar, status));
    // What was made so far stays.
    EXPECT_NE(frame.handle, nullptr);
    EXPECT_NE(bar.handle, nullptr);
    destroyAndDrain(frame.handle);
}

TEST(FrameWindowCreation, StatusBarWithoutPanesStillLaysOut)
{
    ProgramListBox list;
    ButtonBar bar;
    StatusBar status;
    RecordingFrame frame;
    ASSERT_TRUE(frame.createFrame(list, bar, status));
    frame.show(SW_SHOW);
    SetWindowPos(frame.handle, nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT client, listRect;
    GetClientRect(frame.handle, &client);
    GetWindowRect(list.handle, &listRect);
    EXPECT_EQ(listRect.bottom - listRect.top, client.bottom - frame.barHeight - status.visibleHeight());
    destroyAndDrain(frame.handle);
}
}
