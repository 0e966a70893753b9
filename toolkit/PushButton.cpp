#include "toolkit/PushButton.h"

PushButton::PushButton()
{
    style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
}

int PushButton::create(HWND parent, int controlId, const char *text, int x, int y, int width,
                       int height)
{
    if (controlId == 0)
        nextControlId();
    else
        id = controlId;
    return createControl("BUTTON", parent, text, x, y, width, height) ? 1 : 0;
}

int PushButton::onCommandNotify(int code, int)
{
    if (code != BN_CLICKED || !handlerTarget || !handlerFunction)
        return 0;
    activate();
    return 1;
}
