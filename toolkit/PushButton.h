#pragma once
#include "toolkit/Control.h"

// A plain BUTTON child; a click runs its activation handler when it has one.
class PushButton : public Control {
public:
    PushButton();
    // An id of 0 takes the next automatic identifier.
    int create(HWND parent, int id, const char *text, int x, int y, int width, int height) override;
    // Consumes a click (code 0) when a handler is set, after running it.
    int onCommandNotify(int code, int id) override;
};
