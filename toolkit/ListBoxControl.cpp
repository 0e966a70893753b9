#include "toolkit/ListBoxControl.h"

ListBoxControl::ListBoxControl()
{
    style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_WANTKEYBOARDINPUT |
            LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
}

int ListBoxControl::create(HWND parent, int controlId, const char *text, int x, int y, int width,
                           int height)
{
    if (controlId == 0)
        nextControlId();
    else
        id = controlId;
    return createControl("LISTBOX", parent, text, x, y, width, height) ? 1 : 0;
}
