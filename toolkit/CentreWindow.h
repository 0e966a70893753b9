#pragma once
#include <windows.h>

// Moves a window to the centre of its owner, or of the screen when it has none,
// keeping it inside that area; returns MoveWindow's result.
int centreWindow(HWND window);
