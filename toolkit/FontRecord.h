#pragma once
#include <windows.h>

// A font under construction (logFont) and the font made from it last.
// The record does not own `font`: the control that keeps it releases it.
class FontRecord {
public:
    void clear();
    void createPointFont(HDC deviceContext, const char *faceName, int points);
    void createFont(HDC deviceContext);

    HFONT font = nullptr;
    COLORREF textColour = 0;
    LOGFONTA logFont{};
};
