#pragma once
#include <windows.h>

// Destroys a window a test made, when it still has one, and handles what the
// destruction left in the queue, so that the next test starts from an empty
// queue. The quit message a frame posts as it goes is dropped.
inline void destroyAndDrain(HWND window)
{
    if (window)
        DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT)
            DispatchMessageA(&message);
    }
}
