#pragma once
#include <windows.h>

// Root of the window class tree: one window handle and the styles the object
// uses when it creates its window.
class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject &) = delete;
    WindowObject &operator=(const WindowObject &) = delete;
    virtual ~WindowObject() = default;

    // Classes that can create themselves as a child of a parent override this.
    virtual int create(HWND parent, int id, const char *text, int x, int y, int width, int height);

    // A warning box owned by this object's window.
    int showWarning(const char *text, const char *caption);
    // An information box owned by this object's window.
    int showInformation(const char *text, const char *caption);

    HWND handle = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
};
