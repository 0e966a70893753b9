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
    draw(cycle.dc(), cycle.paint().rcPaint);
}

void LabelControl::draw(HDC dc, const RECT &paintRect)
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
