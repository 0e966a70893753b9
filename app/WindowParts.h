#pragma once
#include "app/CommandIds.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/StatusBar.h"

// The parts of Kestrel's main window around its frame. Inline, so that the
// tests and benchmarks of the frame alone build them as the program does
// without linking the program.

// The status bar's two panes: the wide one for what the program is doing and
// the narrow one for the count. Declared before the frame is created, which
// creates the bar.
inline void addStatusPanes(StatusBar &statusBar)
{
    statusBar.allocatePanes(2);
    statusBar.addPane(80, 0);
    statusBar.addPane(14, 0);
}

// The four buttons, Update disabled, once the frame exists. The result is
// the last one's: without Exit the program cannot be left by its bar.
inline int addCommandButtons(ButtonBar &buttonBar)
{
    buttonBar.allocateButtons(4);
    buttonBar.addButton("&Start", 60, CommandStart, 0);
    buttonBar.addButton("&Update", 66, CommandUpdate, 1);
    buttonBar.addButton("About", 60, CommandAbout, 0);
    return buttonBar.addButton("E&xit", 60, CommandExit, 0);
}
