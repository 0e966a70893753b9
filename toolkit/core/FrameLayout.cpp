#include "toolkit/core/FrameLayout.h"

FrameLayout layOutFrame(int clientWidth, int clientHeight, int barHeight, int statusHeight)
{
    FrameLayout layout;
    layout.buttonBar = {0, 0, clientWidth, barHeight};
    // A client area shorter than the two bars (a minimised frame reports 0)
    // leaves the list empty rather than asking for a negative height.
    int listHeight = clientHeight - barHeight - statusHeight;
    layout.listBox = {0, barHeight, clientWidth, listHeight > 0 ? listHeight : 0};
    layout.statusBar = {0, clientHeight - statusHeight, clientWidth, statusHeight};
    return layout;
}
