#pragma once
#include "toolkit/GdiHandles.h"

#include <algorithm>

// Colour that no drawing under test uses, so untouched pixels show.
const COLORREF Marker = RGB(1, 2, 3);

// A 32-bit memory bitmap filled with a marker colour, so untouched pixels show.
class PixelCanvas {
public:
    PixelCanvas(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
        BrushOwner marker(CreateSolidBrush(Marker));
        RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, marker.get());
    }
    ~PixelCanvas() { SelectObject(dc_.get(), previous_); }

    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    int countOf(COLORREF colour) const
    {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += at(x, y) == colour;
        return n;
    }
    // Bounding box of the pixels of one colour; left > right when there are none.
    RECT boundsOf(COLORREF colour) const
    {
        RECT box{width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) == colour) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x);
                    box.bottom = std::max<LONG>(box.bottom, y);
                }
        return box;
    }

private:
    int width_, height_;
    DeviceContextOwner dc_;
    BitmapOwner bitmap_;
    HGDIOBJ previous_ = nullptr;
};
