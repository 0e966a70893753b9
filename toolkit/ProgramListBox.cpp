#include "toolkit/ProgramListBox.h"

#include "toolkit/EdgeFrame.h"
#include "toolkit/HeapArray.h"

ProgramListBox::ProgramListBox()
{
    style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
            LBS_OWNERDRAWFIXED | LBS_SORT;
    background = CreateSolidBrush(RGB(128, 128, 128));
}

ProgramListBox::~ProgramListBox()
{
    if (background)
        DeleteObject(background);
}

void ProgramListBox::drawItem(DRAWITEMSTRUCT *item)
{
    EdgeFrame frame;
    frame.reset();
    frame.bottomRightColour = RGB(0, 0, 0);
    frame.topLeftColour = RGB(192, 192, 192);
    // Selection and focus changes draw nothing: no row ever looks selected.
    if (item->itemAction != ODA_DRAWENTIRE)
        return;

    HDC dc = item->hDC;
    int saved = SaveDC(dc);
    RECT rect = item->rcItem;
    --rect.right;
    --rect.bottom;
    frame.setRect(rect);
    frame.draw(dc);

    // Rows hold full program paths, longer than any fixed buffer worth keeping,
    // so the buffer is sized for the row at hand.
    HeapArray<char> text;
    const char *shown = "";
    LRESULT length = SendMessageA(item->hwndItem, LB_GETTEXTLEN, item->itemID, 0);
    if (length != LB_ERR && text.allocate(static_cast<SIZE_T>(length) + 1) &&
        SendMessageA(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text.get())) != LB_ERR)
        shown = text.get();

    SetTextColor(dc, RGB(255, 255, 0));
    SetBkColor(dc, RGB(128, 128, 128));
    rect.left += 5;
    DrawTextA(dc, shown, -1, &rect, DT_SINGLELINE | DT_VCENTER);
    RestoreDC(dc, saved);
}
