#include "toolkit/WindowObject.h"

#include "toolkit/MessageRoute.h"

int WindowObject::create(HWND, int, const char *, int, int, int, int)
{
    showMessage(nullptr, "Missing Create", "App Error", MB_ICONWARNING);
    return 0;
}

int WindowObject::showWarning(const char *text, const char *caption)
{
    return showMessage(handle, text, caption, MB_ICONWARNING);
}

int WindowObject::showInformation(const char *text, const char *caption)
{
    return showMessage(handle, text, caption, MB_ICONINFORMATION);
}
