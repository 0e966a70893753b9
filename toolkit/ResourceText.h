#pragma once
#include <windows.h>

// The program's string-table text with this identifier into text (size
// bytes, always terminated), or "Unknown error" when there is none.
void loadMessageText(UINT id, char *text, int size);

// The system's own text for an error code (FormatMessage) into text, without
// its closing line break, or "Unknown error" when it has none.
void loadSystemErrorText(DWORD error, char *text, int size);
