#include "toolkit/StatusBar.h"

#include "toolkit/GdiHandles.h"
#include "toolkit/core/PaneEdges.h"

#include <commctrl.h>

namespace {
int averageCharWidth(HWND statusWindow, HWND parent)
{
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(statusWindow, WM_GETFONT, 0, 0));
    if (!font)
        font = GetStockObject(SYSTEM_FONT);
    WindowDC dc(parent);
    SelectedObject selected(dc.get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmAveCharWidth;
}
}

void StatusBar::releasePanes()
{
    widths.release();
    textStyles.release();
    edges.release();
    capacity = 0;
    count = 0;
}

int StatusBar::allocatePanes(int n)
{
    releasePanes();
    if (n < 1)
        return 0;
    const SIZE_T panes = static_cast<SIZE_T>(n);
    if (!textStyles.allocate(panes) || !widths.allocate(panes) || !edges.allocate(panes)) {
        releasePanes();
        return 0;
    }
    // Until the first resize every pane reaches the right end; the window is
    // not visible before then.
    for (int i = 0; i < n; ++i)
        edges[i] = -1;
    capacity = n;
    return 1;
}

void StatusBar::addPane(int width, int textStyle)
{
    if (count >= capacity)
        return;
    widths[count] = width;
    textStyles[count] = textStyle;
    ++count;
}

int StatusBar::createStatus(HWND parentWindow)
{
    parent = parentWindow;
    nextControlId();
    // Imported by name: the ordinal of an export need not be the same in every
    // version of the common controls, and the manifest asks for version 6.
    handle = CreateStatusWindowA(static_cast<LONG>(WS_CHILD | WS_VISIBLE), nullptr, parent, static_cast<UINT>(id));
    if (!handle)
        return 0;
    SendMessageA(handle, SB_SETPARTS, capacity, reinterpret_cast<LPARAM>(edges.get()));
    for (int i = 0; i < capacity; ++i)
        SendMessageA(handle, SB_SETTEXTA, i | textStyles[i], 0);
    return 1;
}

int StatusBar::visibleHeight()
{
    if (!handle || !IsWindowVisible(handle))
        return 0;
    RECT rect;
    GetWindowRect(handle, &rect);
    return rect.bottom - rect.top;
}

void StatusBar::onParentSize(WPARAM wParam, LPARAM lParam)
{
    if (!handle)
        return;
    SendMessageA(handle, WM_SIZE, wParam, lParam);
    if (capacity < 1)
        return;
    RECT rect;
    GetWindowRect(handle, &rect);
    computePaneEdges(rect.right - rect.left, averageCharWidth(handle, parent), widths.get(), capacity,
                     edges.get());
    SendMessageA(handle, SB_SETPARTS, capacity, reinterpret_cast<LPARAM>(edges.get()));
}

void StatusBar::setPaneText(int index, const char *text)
{
    if (!handle || index < 0 || index >= capacity)
        return;
    SendMessageA(handle, SB_SETTEXTA, index | textStyles[index], reinterpret_cast<LPARAM>(text));
}
