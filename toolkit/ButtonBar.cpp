#include "toolkit/ButtonBar.h"

#include "toolkit/GdiHandles.h"
#include "toolkit/ProgramInstance.h"

namespace {
bool barClassRegistered = false;
}

ButtonBar::ButtonBar()
{
    style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    // The class exists from program start, before any frame is created.
    registerClass();
}

int ButtonBar::registerClass()
{
    if (barClassRegistered)
        return 0;
    WNDCLASSA windowClass{};
    windowClass.style = CS_BYTEALIGNWINDOW;
    windowClass.lpfnWndProc = sharedWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 4;
    windowClass.hInstance = programInstance();
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "BtnBarClass";
    if (!RegisterClassA(&windowClass))
        return 0;
    barClassRegistered = true;
    return 1;
}

int ButtonBar::createBar(HWND parent, int x, int y, int width, int height)
{
    if (!createWindow("BtnBarClass", parent, nullptr, "", x, y, width, height))
        return 0;
    barHeight = height;
    ShowWindow(handle, SW_SHOW);
    return 1;
}

void ButtonBar::allocateButtons(int n)
{
    // Buttons already made are bound to their objects by pointer; replacing
    // the arrays under them would leave their windows pointing at freed memory.
    if (!buttons && n > 0) {
        if (buttons.allocate(static_cast<SIZE_T>(n)) && commandIds.allocate(static_cast<SIZE_T>(n))) {
            capacity = n;
        } else {
            buttons.release();
            commandIds.release();
        }
    }
    if (count == 0)
        nextX = 2;
}

int ButtonBar::addButton(const char *label, int width, int commandId, int disabled)
{
    if (count >= capacity)
        return 0;
    PushButton &button = buttons[count];
    if (!button.create(handle, commandId, label, nextX, 3, width, barHeight - 6))
        return 0;
    if (disabled)
        EnableWindow(button.handle, FALSE);
    commandIds[count] = commandId;
    ++count;
    nextX += width + 3;
    return 1;
}

PushButton *ButtonBar::findButton(int commandId)
{
    for (int i = 0; i < count; ++i) {
        if (commandIds[i] == commandId)
            return &buttons[i];
    }
    return nullptr;
}

void ButtonBar::enableButton(int commandId, int enable)
{
    if (PushButton *button = findButton(commandId))
        EnableWindow(button->handle, enable ? TRUE : FALSE);
}

int ButtonBar::isButtonEnabled(int commandId)
{
    PushButton *button = findButton(commandId);
    return button && IsWindowEnabled(button->handle) ? 1 : 0;
}

void ButtonBar::draw(HDC dc, const RECT &client)
{
    PenOwner framePen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME)));
    PenOwner highlightPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    SelectedObject selected(dc, framePen.get());
    MoveToEx(dc, client.left, client.bottom - 1, nullptr);
    LineTo(dc, client.right, client.bottom - 1);
    SelectObject(dc, highlightPen.get());
    MoveToEx(dc, client.left, client.top, nullptr);
    LineTo(dc, client.right, client.top);
}

LRESULT ButtonBar::windowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        RECT client;
        GetClientRect(handle, &client);
        PaintCycle paint(handle);
        draw(paint.dc(), client);
        return 0;
    }
    case WM_COMMAND: {
        Control *sender = Control::fromHandle(reinterpret_cast<HWND>(lParam));
        if (sender && sender->onCommandNotify(HIWORD(wParam), LOWORD(wParam)))
            return 0;
        if (HIWORD(wParam) == 0)
            SendMessageA(GetParent(handle), WM_COMMAND, LOWORD(wParam),
                         reinterpret_cast<LPARAM>(handle));
        return 0;
    }
    default:
        return DefWindowProcA(handle, msg, wParam, lParam);
    }
}
