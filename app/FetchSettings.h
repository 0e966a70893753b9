#pragma once
#include <windows.h>

// The fixed values of the commands' downloads from the maker's folder.

// The catalogue's name, in the server folder and in the temporary folder.
constexpr char CatalogueFileName[] = "Kestrel.ini";
// The user-agent name of the Internet session.
constexpr char AgentName[] = "Kestrel";
// The progress panel over the main window during each fetch: its text column,
// in average characters, and its colour.
constexpr int ProgressColumns = 40;
constexpr COLORREF ProgressColour = RGB(0, 255, 0);
