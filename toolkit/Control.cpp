#include "toolkit/Control.h"

#include "toolkit/ProgramInstance.h"

namespace {
int automaticControlId = 900;
}

int Control::onCommandNotify(int, int) { return 0; }
void Control::drawItem(DRAWITEMSTRUCT *) {}
LRESULT Control::handleNotify(NMHDR *) { return 0; }

void Control::setHandler(WindowObject *target, ControlHandler function)
{
    handlerTarget = target;
    handlerFunction = function;
}

bool Control::createControl(const char *className, HWND parent, const char *text,
                            int x, int y, int width, int height)
{
    HWND existing = parent ? GetDlgItem(parent, id) : nullptr;
    if (existing) {
        handle = existing;
    } else {
        handle = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 programInstance(), nullptr);
        if (!handle)
            return false;
    }
    bind(handle, this);
    return true;
}

int Control::nextControlId()
{
    id = automaticControlId++;
    return id;
}

void Control::activate()
{
    if (handlerTarget && handlerFunction)
        (handlerTarget->*handlerFunction)(id);
}

Control *Control::fromHandle(HWND window)
{
    return static_cast<Control *>(lookUp(window, Kind::Control));
}
