#pragma once
#include "toolkit/Control.h"

// A LISTBOX child control.
class ListBoxControl : public Control {
public:
    ListBoxControl();
    // An id of 0 takes the next automatic identifier.
    int create(HWND parent, int id, const char *text, int x, int y, int width, int height) override;
};
