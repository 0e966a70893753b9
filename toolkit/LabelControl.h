#pragma once
#include "toolkit/CustomControl.h"
#include "toolkit/FontRecord.h"
#include "toolkit/GdiHandles.h"

// A text label ("LabelClass"). Callers may set font.logFont's weight and
// underline and `format` (DrawTextA flags) directly before setFont and before
// the first paint.
class LabelControl : public CustomControl {
public:
    LabelControl(int id, int clickable);

    void registerClass() override;
    void onCreate(HWND window) override;
    void onPaint() override;

    // An empty face name means "MS Sans Serif". Releases the previous font.
    void setFont(const char *faceName, int points);
    // A zero background means the button-face colour. The text is not copied.
    void setText(const char *text, COLORREF textColour, COLORREF background);
    // Fills `paintRect` with the background and draws the text into textRect,
    // with a focus rectangle around it when `focused`.
    void draw(HDC dc, const RECT &paintRect, bool focused = false);

    FontRecord font;
    UINT format = 0;
    RECT textRect{};
    COLORREF background = 0;
    const char *text = nullptr;

private:
    FontOwner ownedFont_;
};
