#include "FrameFixture.h"

#include "tests/harness/PixelCanvas.h"

#include <string>

namespace {
struct ButtonSpec {
    const char *label;
    int width;
    int commandId;
};
const ButtonSpec AppButtons[] = {
    {"&Start", 60, 40002},
    {"&Update", 66, 40003},
    {"About", 60, 40004},
    {"E&xit", 60, 40001},
};

class ButtonBarInFrame : public FrameFixture {
protected:
    void addAppButtons()
    {
        ASSERT_EQ(addCommandButtons(bar), 1);
    }

    RECT buttonRect(int index)
    {
        RECT rect;
        GetWindowRect(bar.buttons[index].handle, &rect);
        MapWindowPoints(nullptr, bar.handle, reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    }

    // Commands that came from the bar (the list also reports its focus changes).
    std::vector<WPARAM> commandsFromBar()
    {
        std::vector<WPARAM> ids;
        for (const auto &command : frame.commands)
            if (command.second == reinterpret_cast<LPARAM>(bar.handle))
                ids.push_back(command.first);
        return ids;
    }
};

class ClickTarget : public WindowObject {
public:
    void onActivate(int id) { activatedIds.push_back(id); }
    std::vector<int> activatedIds;
};

TEST_F(ButtonBarInFrame, AppButtonsSitInARowInsideTheBar)
{
    addAppButtons();
    const int lefts[] = {2, 65, 134, 197};
    for (int i = 0; i < 4; ++i) {
        RECT rect = buttonRect(i);
        EXPECT_EQ(rect.left, lefts[i]) << AppButtons[i].label;
        EXPECT_EQ(rect.right - rect.left, AppButtons[i].width) << AppButtons[i].label;
        EXPECT_EQ(rect.top, 3) << AppButtons[i].label;
        EXPECT_EQ(rect.bottom - rect.top, bar.barHeight - 6) << AppButtons[i].label;
        EXPECT_EQ(GetDlgCtrlID(bar.buttons[i].handle), AppButtons[i].commandId);
        char text[32] = {};
        GetWindowTextA(bar.buttons[i].handle, text, sizeof text);
        EXPECT_STREQ(text, AppButtons[i].label);
    }
    EXPECT_EQ(bar.barHeight, frame.barHeight);
    EXPECT_EQ(bar.nextX, 260);
}

TEST_F(ButtonBarInFrame, FifthButtonFailsAndChangesNothing)
{
    addAppButtons();
    EXPECT_EQ(bar.addButton("&More", 60, 40005, 0), 0);
    EXPECT_EQ(bar.count, 4);
    EXPECT_EQ(bar.nextX, 260);
    EXPECT_EQ(GetDlgItem(bar.handle, 40005), nullptr);
}

TEST_F(ButtonBarInFrame, AddButtonBeforeAllocationFails)
{
    EXPECT_EQ(bar.addButton("&Start", 60, 40002, 0), 0);
    EXPECT_EQ(bar.count, 0);
    EXPECT_EQ(GetDlgItem(bar.handle, 40002), nullptr);
}

TEST_F(ButtonBarInFrame, SecondAllocationKeepsTheButtonsAlreadyMade)
{
    bar.allocateButtons(4);
    ASSERT_EQ(bar.addButton("&Start", 60, 40002, 0), 1);
    PushButton *first = bar.buttons.get();
    bar.allocateButtons(2);
    EXPECT_EQ(bar.buttons.get(), first);
    EXPECT_EQ(bar.capacity, 4);
    EXPECT_EQ(bar.count, 1);
    EXPECT_EQ(bar.nextX, 65);
    EXPECT_EQ(Control::fromHandle(GetDlgItem(bar.handle, 40002)), &bar.buttons[0]);
}

TEST_F(ButtonBarInFrame, CommandFromAWindowThatIsNoControlIsPassedOnAsItCame)
{
    addAppButtons();
    // The frame and the bar are bound to window objects, not controls.
    for (HWND sender : {frame.handle, bar.handle}) {
        EXPECT_EQ(Control::fromHandle(sender), nullptr);
        frame.commands.clear();
        SendMessageA(bar.handle, WM_COMMAND, 151, reinterpret_cast<LPARAM>(sender));
        EXPECT_EQ(commandsFromBar(), std::vector<WPARAM>{151});
    }
}

TEST_F(ButtonBarInFrame, EnablingByCommandIdentifier)
{
    addAppButtons();
    EXPECT_EQ(bar.isButtonEnabled(40002), 1);
    EXPECT_EQ(bar.isButtonEnabled(40003), 0);
    bar.enableButton(40003, 1);
    EXPECT_EQ(bar.isButtonEnabled(40003), 1);
    bar.enableButton(40002, 0);
    EXPECT_EQ(bar.isButtonEnabled(40002), 0);
    EXPECT_FALSE(IsWindowEnabled(bar.buttons[0].handle));

    // An identifier no button has changes nothing and reads as disabled.
    bar.enableButton(12345, 0);
    EXPECT_EQ(bar.isButtonEnabled(12345), 0);
    EXPECT_EQ(bar.isButtonEnabled(40001), 1);
    EXPECT_EQ(bar.isButtonEnabled(40004), 1);
    EXPECT_EQ(bar.isButtonEnabled(40003), 1);
}

TEST_F(ButtonBarInFrame, ClickReachesTheFrameAsItsCommand)
{
    addAppButtons();
    SendMessageA(bar.buttons[2].handle, BM_CLICK, 0, 0);
    EXPECT_EQ(commandsFromBar(), std::vector<WPARAM>{40004});
}

TEST_F(ButtonBarInFrame, ButtonWithAHandlerConsumesItsClick)
{
    addAppButtons();
    ClickTarget target;
    bar.buttons[0].setHandler(&target, static_cast<ControlHandler>(&ClickTarget::onActivate));
    SendMessageA(bar.buttons[0].handle, BM_CLICK, 0, 0);
    EXPECT_EQ(target.activatedIds, std::vector<int>{40002});
    EXPECT_TRUE(commandsFromBar().empty());
}

TEST_F(ButtonBarInFrame, OnlyClickNotificationsAreForwarded)
{
    addAppButtons();
    SendMessageA(bar.handle, WM_COMMAND, MAKEWPARAM(40004, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(bar.buttons[2].handle));
    EXPECT_TRUE(commandsFromBar().empty());
}

TEST(ButtonBarDrawing, RaisedEdgeLinesOverTheBackground)
{
    ButtonBar bar;
    PixelCanvas canvas(100, 28);
    RECT client{0, 0, 100, 28};
    bar.draw(canvas.dc(), client);
    const COLORREF frameColour = GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int x : {0, 50, 99}) {
        EXPECT_EQ(canvas.at(x, 0), highlight) << x;
        EXPECT_EQ(canvas.at(x, 27), frameColour) << x;
        EXPECT_EQ(canvas.at(x, 1), Marker) << x;
        EXPECT_EQ(canvas.at(x, 26), Marker) << x;
    }
    EXPECT_EQ(canvas.countOf(Marker), 100 * 26);
}

TEST_F(ButtonBarInFrame, ShownBarIsGreyBetweenItsEdges)
{
    setClientSize(400, 200);
    frame.show(SW_SHOW);
    UpdateWindow(bar.handle);
    WindowDC dc(bar.handle);
    const int bottom = bar.barHeight - 1;
    EXPECT_EQ(GetPixel(dc.get(), 300, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(dc.get(), 300, bottom), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(dc.get(), 300, bottom / 2), RGB(128, 128, 128));
}
}
