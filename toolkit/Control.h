#pragma once
#include "toolkit/BoundObject.h"
#include "toolkit/WindowObject.h"

class Control;
// The activation handler: an operation of some object, called with the control's id.
using ControlHandler = void (WindowObject::*)(int id);

// A child control of a standard window class.
class Control : public WindowObject, public BoundObject {
public:
    Control() : BoundObject(Kind::Control) {}

    virtual int onCommandNotify(int code, int id);
    virtual void drawItem(DRAWITEMSTRUCT *item);
    virtual LRESULT handleNotify(NMHDR *header);
    virtual void setHandler(WindowObject *target, ControlHandler function);

    // Adopts the parent's child with this control's id if there is one,
    // otherwise creates the window; binds the object to it.
    bool createControl(const char *className, HWND parent, const char *text,
                       int x, int y, int width, int height);
    // Takes the next process-wide automatic identifier (900 upwards) as id.
    int nextControlId();
    // Calls the activation handler when both of its parts are set.
    void activate();

    // The control object bound to a window; null for a window bound to
    // anything else or to nothing.
    static Control *fromHandle(HWND window);

    int id = 0;
    WindowObject *handlerTarget = nullptr;
    ControlHandler handlerFunction = nullptr;
};
