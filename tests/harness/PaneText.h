#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

// The text of one pane of a status bar window.
inline std::string paneText(HWND statusBar, int pane)
{
    const WORD length = LOWORD(SendMessageA(statusBar, SB_GETTEXTLENGTHA, pane, 0));
    std::string text(length + 1u, '\0');
    SendMessageA(statusBar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}
