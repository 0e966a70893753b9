#pragma once
#include <windows.h>

// Small owners for GDI and USER handles: each releases its handle exactly once.

template <typename Handle, BOOL(WINAPI *release)(Handle)>
class GdiOwner {
public:
    explicit GdiOwner(Handle h = nullptr) : handle_(h) {}
    ~GdiOwner() { reset(); }
    GdiOwner(const GdiOwner &) = delete;
    GdiOwner &operator=(const GdiOwner &) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle h = nullptr)
    {
        if (handle_)
            release(handle_);
        handle_ = h;
    }

private:
    Handle handle_;
};

inline BOOL WINAPI deleteBrush(HBRUSH brush) { return DeleteObject(brush); }
inline BOOL WINAPI deletePen(HPEN pen) { return DeleteObject(pen); }
inline BOOL WINAPI deleteFont(HFONT font) { return DeleteObject(font); }
inline BOOL WINAPI deleteBitmap(HBITMAP bitmap) { return DeleteObject(bitmap); }

using BrushOwner = GdiOwner<HBRUSH, deleteBrush>;
using PenOwner = GdiOwner<HPEN, deletePen>;
using FontOwner = GdiOwner<HFONT, deleteFont>;
using BitmapOwner = GdiOwner<HBITMAP, deleteBitmap>;
// Information and memory device contexts (CreateICA, CreateCompatibleDC).
using DeviceContextOwner = GdiOwner<HDC, DeleteDC>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint around one paint cycle.
class PaintCycle {
public:
    explicit PaintCycle(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintCycle() { EndPaint(window_, &paint_); }
    PaintCycle(const PaintCycle &) = delete;
    PaintCycle &operator=(const PaintCycle &) = delete;
    HDC dc() const { return dc_; }
    const PAINTSTRUCT &paint() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
// Objects selected later through the same context are undone with it. A null
// object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject &) = delete;
    SelectedObject &operator=(const SelectedObject &) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
