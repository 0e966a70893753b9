#pragma once
#include <windows.h>

// A rectangle outlined in two colours for the 3-D look of owner-drawn items:
// left column and top row in topLeftColour, right column and bottom row in
// bottomRightColour.
class EdgeFrame {
public:
    void reset();
    void setRect(const RECT &rect);
    void draw(HDC deviceContext) const;

    COLORREF bottomRightColour = 0;
    COLORREF topLeftColour = 0;
    int left = 0;
    int top = 0;
    int width = -1;  // -1: no rectangle yet
    int height = 0;
};
