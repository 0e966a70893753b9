#pragma once
#include "toolkit/CustomControl.h"
#include "toolkit/GdiHandles.h"

// A bitmap picture ("PicClass"). The bitmap resource is loaded each time the
// window is created and released when the window is destroyed; it is copied
// unscaled from its top-left corner over the client area less one pixel each way.
class PicControl : public CustomControl {
public:
    PicControl(int id, int bitmapId, int clickable);

    void registerClass() override;
    void onCreate(HWND window) override;
    void onDestroy() override;
    void onPaint() override;

    void draw(HDC dc);

    int bitmapId;
    BitmapOwner bitmap;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
