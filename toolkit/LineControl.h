#pragma once
#include "toolkit/CustomControl.h"

// A separator ("LineClass"): one horizontal line along the top edge of the
// client area, drawn with `pen` (a wider pen grows around that edge).
class LineControl : public CustomControl {
public:
    explicit LineControl(int id);

    void registerClass() override;
    void onCreate(HWND window) override;
    void onPaint() override;

    void setPen(COLORREF colour, int width);
    void draw(HDC dc);

    RECT clientRect{};
    LOGPEN pen{PS_SOLID, {1, 0}, 0};
};
