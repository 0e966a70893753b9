#include "toolkit/Dialog.h"

INT_PTR Dialog::dialogProc(UINT, WPARAM, LPARAM) { return 0; }

INT_PTR CALLBACK Dialog::dialogThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Dialog *object;
    if (msg == WM_INITDIALOG) {
        object = reinterpret_cast<Dialog *>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
        if (!object)
            return 0;
        object->handle = hwnd;
    } else {
        object = reinterpret_cast<Dialog *>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (!object)
            return 0;
    }
    return object->dialogProc(msg, wParam, lParam);
}
