#pragma once
#include "app/WindowParts.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/FrameWindow.h"
#include "toolkit/ProgramListBox.h"
#include "toolkit/StatusBar.h"

#include "tests/harness/WindowTearDown.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// A frame that records what reaches it, with a close decision the test sets.
class RecordingFrame : public FrameWindow {
public:
    void onCommand(WPARAM wParam, LPARAM lParam) override { commands.emplace_back(wParam, lParam); }
    void onKeyDown(WPARAM wParam, LPARAM) override { keysDown.push_back(wParam); }
    // Notes the menu key's system command and opens no menu, which would wait for the user.
    int onOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        return msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU ? (keyMenus.push_back(lParam), 1) : 0;
    }
    int canClose() override { return allowClose; }
    int onBeforeShow() override { return showsItself; }

    std::vector<std::pair<WPARAM, LPARAM>> commands;
    std::vector<WPARAM> keysDown;
    std::vector<LPARAM> keyMenus;
    int allowClose = 1;
    int showsItself = 0;
};

// The application's arrangement: a frame with a program list, a button bar and
// a status bar of two panes (addStatusPanes). The frame is destroyed after each test and
// the quit message its destruction posts is taken out of the queue again.
class FrameFixture : public testing::Test {
protected:
    void SetUp() override
    {
        addStatusPanes(status);
        ASSERT_TRUE(frame.createFrame(list, bar, status));
    }

    void TearDown() override { destroyAndDrain(frame.handle); }

    // Resizes the frame so that its client area is width x height and checks it got there.
    void setClientSize(int width, int height)
    {
        RECT outer{0, 0, width, height};
        AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
        SetWindowPos(frame.handle, nullptr, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        RECT client;
        GetClientRect(frame.handle, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
    }

    // A child's rectangle in the frame's client coordinates.
    RECT childRect(HWND child)
    {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, frame.handle, reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    }

    ProgramListBox list;
    ButtonBar bar;
    StatusBar status;
    RecordingFrame frame;
};
