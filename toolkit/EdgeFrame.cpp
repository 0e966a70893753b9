#include "toolkit/EdgeFrame.h"

#include "toolkit/GdiHandles.h"

void EdgeFrame::reset()
{
    // A sunken look unless the caller chooses other colours.
    bottomRightColour = GetSysColor(COLOR_BTNHIGHLIGHT);
    topLeftColour = GetSysColor(COLOR_BTNSHADOW);
    width = -1;
}

void EdgeFrame::setRect(const RECT &rect)
{
    left = rect.left;
    top = rect.top;
    width = rect.right - rect.left + 1;
    height = rect.bottom - rect.top + 1;
}

void EdgeFrame::draw(HDC deviceContext) const
{
    if (width == -1)
        return;
    const int right = left + width - 1;
    const int bottom = top + height - 1;
    PenOwner topLeftPen(CreatePen(PS_SOLID, 1, topLeftColour));
    PenOwner bottomRightPen(CreatePen(PS_SOLID, 1, bottomRightColour));
    SelectedObject selected(deviceContext, topLeftPen.get());
    MoveToEx(deviceContext, left, bottom, nullptr);
    LineTo(deviceContext, left, top);
    LineTo(deviceContext, right, top);
    SelectObject(deviceContext, bottomRightPen.get());
    LineTo(deviceContext, right, bottom);
    LineTo(deviceContext, left, bottom);
}
