#include "toolkit/Control.h"
#include "toolkit/MessagePump.h"
#include "toolkit/Window.h"
#include "tests/harness/MessageBoxCatcher.h"

#include <gtest/gtest.h>

TEST(MessagePump, LeavesAWaitingQuitMessageInTheQueue)
{
    PostQuitMessage(7);
    EXPECT_EQ(pumpPendingMessages(), 1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(pumpPendingMessages(), 0);
}

TEST(WindowObjectDefaults, CreateShowsMissingCreateAndFails)
{
    MessageBoxCatcher catcher;
    WindowObject object;
    EXPECT_EQ(object.create(nullptr, 0, "", 0, 0, 1, 1), 0);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].text, "Missing Create");
    EXPECT_EQ(catcher.boxes()[0].caption, "App Error");
}

#include "toolkit/CentreWindow.h"
#include "toolkit/Dialog.h"
#include "toolkit/EdgeFrame.h"
#include "toolkit/FontRecord.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/ProgramInstance.h"

#include "tests/harness/ParentWindow.h"
#include "tests/harness/PixelCanvas.h"

#include <string>
#include <vector>

namespace {
// A window of its own class that records which operation each message reaches.
class ProbeWindow : public Window {
public:
    int registerClass() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = sharedWindowProc;
        windowClass.cbWndExtra = 4;
        windowClass.hInstance = programInstance();
        windowClass.lpszClassName = "DispatchProbeClass";
        return RegisterClassA(&windowClass) ? 1 : 0;
    }
    bool make()
    {
        registerClass();
        return createWindow("DispatchProbeClass", nullptr, nullptr, "Probe", 0, 0, 100, 100);
    }

    void note(const char *name, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        calls.push_back(name);
        lastWParam = wParam;
        lastLParam = lParam;
    }

    int onCreate() override { return createResult; }
    void onDestroy() override { note("onDestroy"); }
    int onExit() override { note("onExit"); return 0; }
    void onDestroyed() override { note("onDestroyed"); }
    int onOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg >= WM_USER)
            note("onOtherMessage", wParam, lParam);
        return msg >= WM_USER ? otherResult : 0;
    }
    void onChar(WPARAM w, LPARAM l) override { note("onChar", w, l); }
    void onClose() override { note("onClose"); }
    void onCommand(WPARAM w, LPARAM l) override { note("onCommand", w, l); }
    void onContextMenu(WPARAM w, LPARAM l) override { note("onContextMenu", w, l); }
    HBRUSH onCtlColorListBox(WPARAM w, LPARAM l) override
    {
        note("onCtlColorListBox", w, l);
        return static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    }
    void onDrawItem(WPARAM w, LPARAM l) override { note("onDrawItem", w, l); }
    void onDropFiles(WPARAM w) override { note("onDropFiles", w); }
    void onEndSession(WPARAM w, LPARAM l) override { note("onEndSession", w, l); }
    void onInitMenu(WPARAM w) override { note("onInitMenu", w); }
    void onKeyDown(WPARAM w, LPARAM l) override { note("onKeyDown", w, l); }
    void onKeyUp(WPARAM w, LPARAM l) override { note("onKeyUp", w, l); }
    void onKillFocus() override { note("onKillFocus"); }
    void onLButtonDblClk(WPARAM w, LPARAM l) override { note("onLButtonDblClk", w, l); }
    void onLButtonDown(WPARAM w, LPARAM l) override { note("onLButtonDown", w, l); }
    void onLButtonUp(WPARAM w, LPARAM l) override { note("onLButtonUp", w, l); }
    int onMenuSelect(WPARAM w, LPARAM l) override { note("onMenuSelect", w, l); return 9; }
    void onMouseMove(WPARAM w, LPARAM l) override { note("onMouseMove", w, l); }
    void onMouseWheel(WPARAM w, LPARAM l) override { note("onMouseWheel", w, l); }
    void onNotify(WPARAM w, LPARAM l) override { note("onNotify", w, l); }
    void onPaint() override { note("onPaint"); Window::onPaint(); }
    int onQueryEndSession() override { note("onQueryEndSession"); return 7; }
    void onRButtonDown(WPARAM w, LPARAM l) override { note("onRButtonDown", w, l); }
    void onRButtonUp(WPARAM w, LPARAM l) override { note("onRButtonUp", w, l); }
    void onSetFocus() override { note("onSetFocus"); }
    void onSize(WPARAM w, LPARAM l) override { note("onSize", w, l); }
    void onSysColorChange() override { note("onSysColorChange"); }
    int onSysKeyDown(WPARAM w, LPARAM l) override { note("onSysKeyDown", w, l); return 1; }
    int onSysKeyUp(WPARAM w, LPARAM l) override { note("onSysKeyUp", w, l); return 1; }
    void onTimer(WPARAM w) override { note("onTimer", w); }
    int onVKeyToItem(WPARAM w) override { note("onVKeyToItem", w); return -2; }
    void onVScroll(WPARAM w, LPARAM l) override { note("onVScroll", w, l); }

    std::vector<std::string> calls;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    int createResult = 1;
    int otherResult = 0;
};

class Dispatch : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(probe.make()); probe.calls.clear(); }
    void TearDown() override
    {
        if (probe.handle)
            DestroyWindow(probe.handle);
    }
    ProbeWindow probe;
};

struct Routed {
    UINT msg;
    const char *operation;
    bool passesParameters;
    LRESULT result;
};

TEST_F(Dispatch, ListedMessagesReachTheirOperationWithTheirResult)
{
    const LRESULT grey = reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH));
    const Routed table[] = {
        {WM_SIZE, "onSize", true, 0},
        {WM_SETFOCUS, "onSetFocus", false, 0},
        {WM_KILLFOCUS, "onKillFocus", false, 0},
        {WM_CLOSE, "onClose", false, 0},
        {WM_QUERYENDSESSION, "onQueryEndSession", false, 7},
        {WM_SYSCOLORCHANGE, "onSysColorChange", false, 0},
        {WM_DRAWITEM, "onDrawItem", true, 1},
        {WM_VKEYTOITEM, "onVKeyToItem", false, -2},
        {WM_CONTEXTMENU, "onContextMenu", true, 0},
        {WM_KEYDOWN, "onKeyDown", true, 0},
        {WM_KEYUP, "onKeyUp", true, 0},
        {WM_CHAR, "onChar", true, 0},
        {WM_SYSKEYDOWN, "onSysKeyDown", true, 0},
        {WM_SYSKEYUP, "onSysKeyUp", true, 0},
        {WM_COMMAND, "onCommand", true, 0},
        {WM_TIMER, "onTimer", false, 0},
        {WM_VSCROLL, "onVScroll", true, 0},
        {WM_INITMENU, "onInitMenu", false, 0},
        {WM_MENUSELECT, "onMenuSelect", true, 0},
        {WM_CTLCOLORLISTBOX, "onCtlColorListBox", true, grey},
        {WM_MOUSEMOVE, "onMouseMove", true, 0},
        {WM_LBUTTONDOWN, "onLButtonDown", true, 0},
        {WM_LBUTTONUP, "onLButtonUp", true, 0},
        {WM_LBUTTONDBLCLK, "onLButtonDblClk", true, 0},
        {WM_RBUTTONDOWN, "onRButtonDown", true, 0},
        {WM_RBUTTONUP, "onRButtonUp", true, 0},
        {WM_MOUSEWHEEL, "onMouseWheel", true, 0},
        {WM_DROPFILES, "onDropFiles", false, 0},
    };
    for (const Routed &r : table) {
        probe.calls.clear();
        // Harmless parameter values: nothing the operations are given is dereferenced.
        const WPARAM w = 0x1234;
        const LPARAM l = 0x00560078;
        EXPECT_EQ(SendMessageA(probe.handle, r.msg, w, l), r.result) << r.operation;
        EXPECT_EQ(probe.calls, std::vector<std::string>{r.operation});
        if (!probe.calls.empty() && r.passesParameters) {
            EXPECT_EQ(probe.lastWParam, w) << r.operation;
            EXPECT_EQ(probe.lastLParam, l) << r.operation;
        }
    }
}

TEST_F(Dispatch, PaintValidatesTheWindow)
{
    ShowWindow(probe.handle, SW_SHOWNA);
    UpdateWindow(probe.handle);
    probe.calls.clear();
    InvalidateRect(probe.handle, nullptr, FALSE);
    UpdateWindow(probe.handle);
    EXPECT_EQ(probe.calls, std::vector<std::string>{"onPaint"});
    RECT update;
    EXPECT_FALSE(GetUpdateRect(probe.handle, &update, FALSE));
}

TEST_F(Dispatch, EndSessionCallsOnExitOnlyWhenTheSessionEnds)
{
    EXPECT_EQ(SendMessageA(probe.handle, WM_ENDSESSION, 0, 0), 0);
    EXPECT_EQ(probe.calls, std::vector<std::string>{"onEndSession"});
    probe.calls.clear();
    EXPECT_EQ(SendMessageA(probe.handle, WM_ENDSESSION, 1, 0), 0);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"onEndSession", "onExit"}));
}

TEST_F(Dispatch, DestroyRunsItsThreeStepsInOrder)
{
    ASSERT_TRUE(probe.destroy());
    EXPECT_EQ(probe.handle, nullptr);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"onDestroy", "onExit", "onDestroyed"}));
    // A second destroy has no window to destroy and reports the failure.
    EXPECT_FALSE(probe.destroy());
}

TEST_F(Dispatch, UnlistedMessagesGoToDefWindowProcUnlessHandled)
{
    // WM_GETTEXTLENGTH is unlisted: the default procedure answers with the title's length.
    EXPECT_EQ(SendMessageA(probe.handle, WM_GETTEXTLENGTH, 0, 0), 5);
    probe.otherResult = 0;
    EXPECT_EQ(SendMessageA(probe.handle, WM_USER + 5, 3, 4), 0);
    EXPECT_EQ(probe.calls, std::vector<std::string>{"onOtherMessage"});
    probe.otherResult = 1;
    EXPECT_EQ(SendMessageA(probe.handle, WM_USER + 5, 3, 4), 0);
}

TEST_F(Dispatch, NotifyGoesToTheSendersObjectOrElseToOnNotify)
{
    struct AnsweringControl : Control {
        LRESULT handleNotify(NMHDR *header) override { return header->code == 77 ? 42 : 0; }
    } control;
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, probe.handle,
                                 reinterpret_cast<HMENU>(77), programInstance(), nullptr);
    ASSERT_NE(child, nullptr);
    NMHDR header{child, 77, 77};
    EXPECT_EQ(SendMessageA(probe.handle, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_EQ(probe.calls, std::vector<std::string>{"onNotify"});

    probe.calls.clear();
    BoundObject::bind(child, &control);
    EXPECT_EQ(SendMessageA(probe.handle, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 42);
    EXPECT_TRUE(probe.calls.empty());
    DestroyWindow(child);
}

TEST_F(Dispatch, NotifyFromAWindowBoundToAnotherKindGoesToOnNotify)
{
    // A panel with a procedure of its own keeps its object in the same slot a control does.
    struct PanelObject : BoundObject {
        PanelObject() : BoundObject(Kind::Panel) {}
    } panelObject;
    HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, probe.handle,
                                 reinterpret_cast<HMENU>(77), programInstance(), nullptr);
    ASSERT_NE(panel, nullptr);
    BoundObject::bind(panel, &panelObject);
    ProbeWindow other;
    ASSERT_TRUE(other.make());

    for (HWND sender : {panel, other.handle, probe.handle}) {
        EXPECT_EQ(Control::fromHandle(sender), nullptr);
        probe.calls.clear();
        NMHDR header{sender, 77, 77};
        EXPECT_EQ(SendMessageA(probe.handle, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 0);
        EXPECT_EQ(probe.calls, std::vector<std::string>{"onNotify"});
    }
    DestroyWindow(other.handle);
    DestroyWindow(panel);
}

TEST(WindowBinding, NcCreateBindsTheObjectAndCreateWindowMakesOnlyOne)
{
    ProbeWindow probe;
    EXPECT_EQ(probe.handle, nullptr);
    ASSERT_TRUE(probe.make());
    HWND first = probe.handle;
    EXPECT_EQ(BoundObject::lookUp(first, BoundObject::Kind::Window), &probe);
    EXPECT_TRUE(probe.createWindow("DispatchProbeClass", nullptr, nullptr, "", 0, 0, 10, 10));
    EXPECT_EQ(probe.handle, first);
    DestroyWindow(first);
}

TEST(WindowBinding, RefusedCreationLeavesNoHandle)
{
    ProbeWindow probe;
    probe.createResult = 0;
    EXPECT_FALSE(probe.make());
    EXPECT_EQ(probe.handle, nullptr);
}

// A modeless dialog from an in-memory template with no controls.
class ProbeDialog : public Dialog {
public:
    INT_PTR dialogProc(UINT msg, WPARAM, LPARAM lParam) override
    {
        messages.push_back(msg);
        if (msg == WM_INITDIALOG)
            initParameter = lParam;
        return msg == WM_USER + 1 ? 1 : 0;
    }
    std::vector<UINT> messages;
    LPARAM initParameter = 0;
};

TEST(DialogThunk, InitDialogBindsTheObject)
{
    alignas(4) WORD storage[32] = {};
    auto *dialogTemplate = reinterpret_cast<DLGTEMPLATE *>(storage);
    dialogTemplate->style = WS_POPUP | WS_CAPTION;
    dialogTemplate->cx = 100;
    dialogTemplate->cy = 50;
    ProbeDialog dialog;
    HWND window = CreateDialogIndirectParamA(programInstance(), dialogTemplate, nullptr,
                                             Dialog::dialogThunk, reinterpret_cast<LPARAM>(&dialog));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.handle, window);
    EXPECT_EQ(GetWindowLongPtrA(window, DWLP_USER), reinterpret_cast<LONG_PTR>(&dialog));
    ASSERT_FALSE(dialog.messages.empty());
    EXPECT_EQ(dialog.initParameter, reinterpret_cast<LPARAM>(&dialog));

    dialog.messages.clear();
    SendMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(dialog.messages, std::vector<UINT>{WM_USER + 1});
    DestroyWindow(window);
}

TEST(DialogThunk, MessagesBeforeBindingAreAnsweredZero)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  programInstance(), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Dialog::dialogThunk(window, WM_USER + 1, 0, 0), 0);
    DestroyWindow(window);
}

TEST(ControlCreation, AdoptsAnExistingChildWithItsId)
{
    ParentWindow parent;
    HWND existing = CreateWindowExA(0, "STATIC", "from a template", WS_CHILD, 0, 0, 10, 10,
                                    parent.handle, reinterpret_cast<HMENU>(50), programInstance(),
                                    nullptr);
    ListBoxControl control;
    ASSERT_EQ(control.create(parent.handle, 50, "", 0, 0, 50, 50), 1);
    EXPECT_EQ(control.handle, existing);
    EXPECT_EQ(Control::fromHandle(existing), &control);
    char className[16] = {};
    GetClassNameA(control.handle, className, sizeof className);
    EXPECT_STREQ(className, "Static");
    EXPECT_EQ(GetWindow(parent.handle, GW_CHILD), existing);
    EXPECT_EQ(GetWindow(existing, GW_HWNDNEXT), nullptr);
}

TEST(ControlCreation, AutomaticIdentifiersFollowEachOther)
{
    ParentWindow parent;
    ListBoxControl first, second;
    ASSERT_EQ(first.create(parent.handle, 0, "", 0, 0, 50, 50), 1);
    ASSERT_EQ(second.create(parent.handle, 0, "", 0, 60, 50, 50), 1);
    EXPECT_GE(first.id, 900);
    EXPECT_EQ(second.id, first.id + 1);
    EXPECT_EQ(GetDlgCtrlID(second.handle), second.id);
}

TEST(CentreWindow, CentresOnTheOwner)
{
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 500, 400, nullptr, nullptr,
                                 programInstance(), nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, owner, nullptr,
                                  programInstance(), nullptr);
    EXPECT_TRUE(centreWindow(window));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 250);
    EXPECT_EQ(rect.top, 250);
    EXPECT_EQ(rect.right - rect.left, 201);
    EXPECT_EQ(rect.bottom - rect.top, 101);
    DestroyWindow(window);
    DestroyWindow(owner);
}

TEST(EdgeFrameDrawing, OutlinesInTwoColoursAndNothingWithoutARectangle)
{
    EdgeFrame frame;
    frame.reset();
    EXPECT_EQ(frame.bottomRightColour, GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(frame.topLeftColour, GetSysColor(COLOR_BTNSHADOW));
    PixelCanvas untouched(12, 12);
    frame.draw(untouched.dc());
    EXPECT_EQ(untouched.countOf(Marker), 144);

    frame.topLeftColour = RGB(10, 20, 30);
    frame.bottomRightColour = RGB(200, 100, 50);
    frame.setRect({2, 3, 9, 8});
    EXPECT_EQ(frame.width, 8);
    EXPECT_EQ(frame.height, 6);
    PixelCanvas canvas(12, 12);
    frame.draw(canvas.dc());
    EXPECT_EQ(canvas.at(2, 3), RGB(10, 20, 30));
    EXPECT_EQ(canvas.at(2, 8), RGB(10, 20, 30));
    EXPECT_EQ(canvas.at(5, 3), RGB(10, 20, 30));
    EXPECT_EQ(canvas.at(9, 3), RGB(200, 100, 50));
    EXPECT_EQ(canvas.at(9, 8), RGB(200, 100, 50));
    EXPECT_EQ(canvas.at(5, 8), RGB(200, 100, 50));
    EXPECT_EQ(canvas.at(5, 5), Marker);
    EXPECT_EQ(canvas.at(10, 3), Marker);
    EXPECT_EQ(canvas.at(2, 9), Marker);
    // 8 + 8 + 4 + 4 outline pixels, nothing else.
    EXPECT_EQ(canvas.countOf(Marker), 144 - 24);
}

TEST(FontRecordHeights, PointsBecomeNegativeHeightsAtTheContextsResolution)
{
    HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(display, nullptr);
    ASSERT_EQ(GetDeviceCaps(display, LOGPIXELSY), 96);
    FontRecord record;
    record.clear();
    record.createPointFont(display, "Arial", 10);
    EXPECT_EQ(record.logFont.lfHeight, -13);
    EXPECT_STREQ(record.logFont.lfFaceName, "Arial");
    EXPECT_NE(record.font, nullptr);
    DeleteObject(record.font);
    record.createPointFont(display, "", 8);
    EXPECT_EQ(record.logFont.lfHeight, -11);
    EXPECT_STREQ(record.logFont.lfFaceName, "Arial");
    DeleteObject(record.font);
    DeleteDC(display);
}
}
