#include "toolkit/WindowObject.h"

int WindowObject::create(HWND, int, const char *, int, int, int, int)
{
    MessageBoxA(nullptr, "Missing Create", "App Error", MB_ICONWARNING);
    return 0;
}

int WindowObject::showWarning(const char *text, const char *caption)
{
    return MessageBoxA(handle, text, caption, MB_ICONWARNING);
}

int WindowObject::showInformation(const char *text, const char *caption)
{
    return MessageBoxA(handle, text, caption, MB_ICONINFORMATION);
}
