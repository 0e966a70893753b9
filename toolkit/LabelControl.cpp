#include "toolkit/LabelControl.h"

#include <cstring>

namespace {
constexpr const char *DefaultFace = "MS Sans Serif";
}

LabelControl::LabelControl(int id, int clickable) : CustomControl(id, clickable)
{
    font.clear();
}

void LabelControl::registerClass()
{
    registerControlClass("LabelClass");
}

void LabelControl::onCreate(HWND window)
{
    handle = window;
    GetClientRect(window, &textRect);
    textRect.left += 1;
    textRect.top += 1;
    textRect.right -= 1;
    textRect.bottom -= 1;
}

void LabelControl::onPaint()
{
    PaintCycle cycle(handle);
    // A link with the focus shows it, unless the window hides focus
    // rectangles until the keyboard is used.
    const bool focused = clickable && GetFocus() == handle &&
                         !(SendMessageA(handle, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    draw(cycle.dc(), cycle.paint().rcPaint, focused);
}

void LabelControl::draw(HDC dc, const RECT &paintRect, bool focused)
{
    {
        BrushOwner brush(CreateSolidBrush(background));
        FillRect(dc, &paintRect, brush.get());
    }
    if (!text)
        return;
    // Without a font of its own the label draws in the context's default font.
    SelectedObject selected(dc, font.font);
    SetTextColor(dc, font.textColour);
    SetBkColor(dc, background);
    RECT rect = textRect;
    DrawTextA(dc, text, -1, &rect, format);
    if (!focused)
        return;
    // Around the text as DrawTextA lays it out, within the control; its
    // measure is taken from the top and centred here.
    RECT extent = textRect;
    DrawTextA(dc, text, -1, &extent, (format & ~DT_VCENTER) | DT_CALCRECT);
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        OffsetRect(&extent, 0, (textRect.bottom - textRect.top - (extent.bottom - extent.top)) / 2);
    RECT control = textRect;
    InflateRect(&control, 1, 1);
    InflateRect(&extent, 1, 1);
    IntersectRect(&extent, &extent, &control);
    DrawFocusRect(dc, &extent);
}

void LabelControl::setFont(const char *faceName, int points)
{
    const char *face = faceName && faceName[0] ? faceName : DefaultFace;
    std::strncpy(font.logFont.lfFaceName, face, LF_FACESIZE - 1);
    font.logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    ownedFont_.reset();
    DeviceContextOwner display(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
    font.createPointFont(display.get(), "", points);
    ownedFont_.reset(font.font);
}

void LabelControl::setText(const char *newText, COLORREF textColour, COLORREF newBackground)
{
    text = newText;
    font.textColour = textColour;
    background = newBackground ? newBackground : GetSysColor(COLOR_BTNFACE);
}
