#include "toolkit/CustomControl.h"
#include "toolkit/LabelControl.h"
#include "toolkit/LineControl.h"
#include "toolkit/MessagePump.h"
#include "toolkit/PicControl.h"

#include "tests/harness/ParentWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Notification {
    WPARAM wParam;
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

std::vector<Notification> notifications;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
        notifications.push_back({wParam, header->hwndFrom, header->idFrom, header->code});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A parent that records its children's notifications, from none.
struct RecordingParent : ParentWindow {
    RecordingParent() : ParentWindow(parentProc) { notifications.clear(); }
};

class CustomControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        registerCustomControls();
        ASSERT_NE(linkCursor, nullptr);
    }
};

TEST_F(CustomControlTest, TheLastConstructedOfTwoObjectsWithOneIdentifierIsFound)
{
    LabelControl first(7201, 0);
    EXPECT_EQ(findControl(7201), &first);
    {
        LineControl second(7201);
        EXPECT_EQ(findControl(7201), &second);
    }
    // An object that goes away early leaves no dangling entry behind.
    EXPECT_EQ(findControl(7201), &first);
    EXPECT_EQ(findControl(7299), nullptr);
}

TEST_F(CustomControlTest, AClickableControlNotifiesItsParentOnceOnButtonRelease)
{
    struct Case {
        const char *name;
        bool post;
    };
    for (const Case &c : {Case{"sent", false}, Case{"posted", true}}) {
        SCOPED_TRACE(c.name);
        LabelControl label(7211, 1);
        RecordingParent parent;
        HWND child = parent.addChild("LabelClass", 7211);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(label.handle, child);
        if (c.post) {
            PostMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            pumpPendingMessages();
        } else {
            EXPECT_EQ(SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(3, 3)), 0);
        }
        ASSERT_EQ(notifications.size(), 1u);
        EXPECT_EQ(notifications[0].code, 514u);
        EXPECT_EQ(notifications[0].wParam, 7211u);
        EXPECT_EQ(notifications[0].idFrom, 7211u);
        EXPECT_EQ(notifications[0].hwndFrom, child);
    }
}

TEST_F(CustomControlTest, AClickableControlWithTheFocusOpensWithEnterOrSpaceInADialog)
{
    for (int clickable : {1, 0}) {
        SCOPED_TRACE(clickable);
        LabelControl label(7221, clickable);
        RecordingParent parent;
        HWND child = parent.addChild("LabelClass", 7221);
        SetFocus(child);
        // Without the key for itself, the dialog would make Enter its default button.
        for (WPARAM key : {VK_RETURN, VK_SPACE}) {
            MSG message{child, WM_KEYDOWN, key, 1, 0, {}};
            EXPECT_TRUE(IsDialogMessageA(parent.handle, &message));
        }
        ASSERT_EQ(notifications.size(), clickable ? 2u : 0u);
        for (const Notification &n : notifications)
            EXPECT_TRUE(n.hwndFrom == child && n.idFrom == 7221 && n.code == CustomControlClicked);
    }
}

TEST_F(CustomControlTest, EveryKindOfControlCanBeALinkButOnlyWhenClickable)
{
    struct Case {
        const char *className;
        int id;
        int clickable;
        size_t expectedNotifications;
    };
    const Case cases[] = {
        {"LabelClass", 7221, 0, 0}, {"LabelClass", 7221, 1, 1}, {"PicClass", 7222, 0, 0},
        {"PicClass", 7222, 1, 1},   {"LineClass", 7223, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.className) + (c.clickable ? " clickable" : " plain"));
        LabelControl label(7221, c.clickable);
        PicControl picture(7222, 7001, c.clickable);
        LineControl line(7223);
        RecordingParent parent;
        HWND child = parent.addChild(c.className, c.id);
        ASSERT_NE(child, nullptr);
        SendMessageA(child, WM_LBUTTONDOWN, 0, 0);
        SendMessageA(child, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(notifications.size(), c.expectedNotifications);
    }
}

TEST_F(CustomControlTest, OnlyAClickableControlShowsTheLinkCursor)
{
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    for (int clickable : {0, 1}) {
        SCOPED_TRACE(clickable);
        LabelControl label(7231, clickable);
        RecordingParent parent;
        HWND child = parent.addChild("LabelClass", 7231);
        SetCursor(arrow);
        EXPECT_EQ(SendMessageA(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  0);
        EXPECT_EQ(GetCursor(), clickable ? linkCursor : arrow);
    }
}

TEST_F(CustomControlTest, AWindowWhoseIdentifierHasNoObjectBehavesAsAPlainWindow)
{
    LabelControl label(7241, 1);
    RecordingParent parent;
    HWND stray = parent.addChild("LabelClass", 7242);
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(label.handle, nullptr);
    SendMessageA(stray, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(notifications.empty());
    // The default procedure keeps the window text and validates on paint.
    SetWindowTextA(stray, "plain");
    char text[16] = "";
    GetWindowTextA(stray, text, sizeof text);
    EXPECT_STREQ(text, "plain");
    UpdateWindow(stray);
    EXPECT_FALSE(GetUpdateRect(stray, nullptr, FALSE));
}

// The controls of the dialog template, as the About box keeps them: globals
// reused for every opening.
LabelControl dialogLabel(7101, 1);
LineControl dialogLine(7102);
PicControl dialogPicture(7103, 7001, 0);

INT_PTR CALLBACK dialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        dialogLabel.font.logFont.lfWeight = 700;
        dialogLabel.setFont("", 8);
        dialogLabel.setText("Display controls", RGB(0, 0, 128), 0);
        dialogLine.setPen(RGB(128, 128, 128), 2);
        return TRUE;
    }
    return FALSE;
}

TEST_F(CustomControlTest, OpeningADialogManyTimesReleasesEveryFontAndBitmap)
{
    HFONT previousFont = nullptr;
    for (int opening = 0; opening < 300; ++opening) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(7100), nullptr, dialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialogLabel.handle, GetDlgItem(dialog, 7101));
        ASSERT_EQ(dialogLine.handle, GetDlgItem(dialog, 7102));
        ASSERT_EQ(dialogPicture.handle, GetDlgItem(dialog, 7103));
        HBITMAP bitmap = dialogPicture.bitmap.get();
        ASSERT_NE(bitmap, nullptr);
        ASSERT_NE(dialogLabel.font.font, nullptr);
        if (previousFont) {
            ASSERT_EQ(GetObjectType(previousFont), 0u) << "font of opening " << opening - 1;
        }
        previousFont = dialogLabel.font.font;
        // Showing is slow under the virtual display: the paint cycle is checked
        // once, on the first opening (every control validates what it painted).
        if (opening == 0) {
            ShowWindow(dialog, SW_SHOWNA);
            UpdateWindow(dialog);
            for (int id : {7101, 7102, 7103})
                EXPECT_FALSE(GetUpdateRect(GetDlgItem(dialog, id), nullptr, FALSE)) << id;
        }
        pumpPendingMessages();
        DestroyWindow(dialog);
        ASSERT_EQ(GetObjectType(bitmap), 0u) << "bitmap of opening " << opening;
        ASSERT_EQ(dialogPicture.bitmap.get(), nullptr);
    }
    LOGFONTA made{};
    ASSERT_EQ(GetObjectA(dialogLabel.font.font, sizeof made, &made), static_cast<int>(sizeof made));
    EXPECT_EQ(made.lfWeight, 700);
}

} // namespace
