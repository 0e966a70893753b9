#pragma once
#include "toolkit/Control.h"
#include "toolkit/HeapArray.h"

// The common-controls status window along the bottom of the frame, divided into
// panes whose widths are declared in average character widths. It is created by
// createStatus, not by create, and always takes an automatic identifier. The
// object is not stored in its window, so the frame's dispatcher sends the status
// window's notifications to the frame's onNotify.
class StatusBar : public Control {
public:
    // Reserves n panes; 1 when the pane arrays exist.
    int allocatePanes(int n);
    // Declares the next pane; ignored once every reserved pane is declared.
    void addPane(int width, int textStyle);
    // Creates the status window as a child of parent; 1 on success.
    int createStatus(HWND parent);
    // The status window's height while it is visible, 0 while it is hidden.
    int visibleHeight();
    // Re-docks the status window and recomputes the pane edges for a WM_SIZE of the parent.
    void onParentSize(WPARAM wParam, LPARAM lParam);
    void setPaneText(int index, const char *text);

    HWND parent = nullptr;
    int capacity = 0;
    HeapArray<int> widths;
    HeapArray<int> textStyles;
    HeapArray<int> edges;
    int count = 0;

private:
    void releasePanes();
};
