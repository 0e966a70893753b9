#pragma once
#include <windows.h>

#include <cstdio>

// A hidden top-level window that holds the control windows under test and is
// destroyed with the object. Its procedure is the default one unless the test
// gives its own, for instance to record what the children send it.
class ParentWindow {
public:
    explicit ParentWindow(WNDPROC procedure = DefWindowProcA)
    {
        // One window class per procedure; registering it again fails harmlessly.
        char className[32];
        std::snprintf(className, sizeof className, "TestParent%p", reinterpret_cast<void *>(procedure));
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        handle = CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~ParentWindow() { DestroyWindow(handle); }
    ParentWindow(const ParentWindow &) = delete;
    ParentWindow &operator=(const ParentWindow &) = delete;

    HWND addChild(const char *className, int id, int width = 100, int height = 20)
    {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, handle,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }

    HWND handle;
};
