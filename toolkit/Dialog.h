#pragma once
#include "toolkit/WindowObject.h"

// A dialog box built from a dialog template; messages reach dialogProc through
// dialogThunk once WM_INITDIALOG has bound the object.
class Dialog : public WindowObject {
public:
    virtual INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam);

    static INT_PTR CALLBACK dialogThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
