#include "tests/harness/MessageBoxCatcher.h"

namespace {
thread_local std::vector<MessageBoxCatcher::Box> *activeBoxes = nullptr;
}

MessageBoxCatcher::MessageBoxCatcher()
    : hook_(SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId()))
{
    activeBoxes = &boxes_;
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    activeBoxes = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && activeBoxes) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(box, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0 && GetDlgItem(box, 0xFFFF)) {
            char caption[512] = {};
            char text[1024] = {};
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            activeBoxes->push_back({caption, text});
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
