#pragma once
#include "toolkit/ListBoxControl.h"

// The application's sorted, owner-drawn list: yellow text on grey, each row
// framed light grey at the top and left and black at the bottom and right.
// The selection is never shown.
class ProgramListBox : public ListBoxControl {
public:
    ProgramListBox();
    ~ProgramListBox() override;

    // Draws one row for a WM_DRAWITEM of the list into item->hDC.
    void drawItem(DRAWITEMSTRUCT *item) override;

    // The list's grey background, handed out for WM_CTLCOLORLISTBOX; owned.
    HBRUSH background = nullptr;
};
