#include "toolkit/CentreWindow.h"

#include "toolkit/core/Centring.h"

int centreWindow(HWND window)
{
    RECT reference;
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner) {
        GetWindowRect(owner, &reference);
    } else {
        reference = {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
    }
    RECT own;
    GetWindowRect(window, &own);
    Placement p = centredPlacement({reference.left, reference.top, reference.right, reference.bottom},
                                   {own.left, own.top, own.right, own.bottom});
    return MoveWindow(window, p.x, p.y, p.width, p.height, FALSE);
}
