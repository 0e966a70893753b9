#pragma once
#include <windows.h>

// The program's string-table text with this identifier into text (size
// bytes, always terminated), or "Unknown error" when there is none.
void loadMessageText(UINT id, char *text, int size);
