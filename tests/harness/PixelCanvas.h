#pragma once
#include "toolkit/GdiHandles.h"

#include <algorithm>

// Colour that no drawing under test uses, so untouched pixels show.
const COLORREF Marker = RGB(1, 2, 3);

// A 32-bit top-down memory bitmap filled with one colour (the marker unless
// given), whose pixels read back exactly.
class PixelCanvas {
public:
    PixelCanvas(int width, int height, COLORREF fill = Marker)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void *bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const DWORD *>(bits);
        previous_ = SelectObject(dc_.get(), bitmap_.get());
        BrushOwner brush(CreateSolidBrush(fill));
        RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, brush.get());
    }
    ~PixelCanvas() { SelectObject(dc_.get(), previous_); }
    PixelCanvas(const PixelCanvas &) = delete;
    PixelCanvas &operator=(const PixelCanvas &) = delete;

    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const
    {
        GdiFlush();
        const DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
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
        return boundsWhere([&](COLORREF pixel) { return pixel == colour; });
    }
    // Bounding box of the pixels of any other colour than background.
    RECT inkBounds(COLORREF background) const
    {
        return boundsWhere([&](COLORREF pixel) { return pixel != background; });
    }
    // Whether rows firstRow up to endRow hold a pixel other than background.
    bool inkInRows(COLORREF background, int firstRow, int endRow) const
    {
        for (int y = std::max(firstRow, 0); y < std::min(endRow, height_); ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) != background)
                    return true;
        return false;
    }

private:
    template <class Test>
    RECT boundsWhere(Test test) const
    {
        RECT box{width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (test(at(x, y))) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x);
                    box.bottom = std::max<LONG>(box.bottom, y);
                }
        return box;
    }

    int width_, height_;
    DeviceContextOwner dc_;
    BitmapOwner bitmap_;
    const DWORD *bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};
