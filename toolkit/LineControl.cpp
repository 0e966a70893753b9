#include "toolkit/LineControl.h"

#include "toolkit/GdiHandles.h"

LineControl::LineControl(int id) : CustomControl(id, 0) {}

void LineControl::registerClass()
{
    registerControlClass("LineClass");
}

void LineControl::onCreate(HWND window)
{
    handle = window;
    GetClientRect(window, &clientRect);
}

void LineControl::onPaint()
{
    PaintCycle cycle(handle);
    draw(cycle.dc());
}

void LineControl::draw(HDC dc)
{
    PenOwner linePen(CreatePenIndirect(&pen));
    SelectedObject selected(dc, linePen.get());
    MoveToEx(dc, clientRect.left, clientRect.top, nullptr);
    LineTo(dc, clientRect.right, clientRect.top);
}

void LineControl::setPen(COLORREF colour, int width)
{
    pen.lopnColor = colour;
    pen.lopnWidth.x = width;
}
