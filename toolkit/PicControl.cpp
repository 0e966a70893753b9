#include "toolkit/PicControl.h"

#include "toolkit/ProgramInstance.h"

PicControl::PicControl(int id, int bitmapId, int clickable) : CustomControl(id, clickable), bitmapId(bitmapId) {}

void PicControl::registerClass()
{
    registerControlClass("PicClass");
}

void PicControl::onCreate(HWND window)
{
    handle = window;
    bitmap.reset(LoadBitmapA(programInstance(), MAKEINTRESOURCEA(bitmapId & 0xFFFF)));
    RECT client;
    GetClientRect(window, &client);
    left = client.left;
    top = client.top;
    width = client.right - client.left - 1;
    height = client.bottom - client.top - 1;
}

// Each opening of the dialog loads the bitmap again, so it goes with its window.
void PicControl::onDestroy()
{
    bitmap.reset();
}

void PicControl::onPaint()
{
    PaintCycle cycle(handle);
    draw(cycle.dc());
}

void PicControl::draw(HDC dc)
{
    if (!bitmap)
        return;
    DeviceContextOwner memory(CreateCompatibleDC(dc));
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(dc, left, top, width, height, memory.get(), 0, 0, SRCCOPY);
}
