#include <windows.h>

#include "app/CommandIds.h"
#include "app/Globals.h"
#include "app/RunningProgram.h"
#include "toolkit/CustomControl.h"
#include "toolkit/ProgramInstance.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState)
{
    setProgramInstance(instance);
    // What an update left of this program when it moved a new copy in over it.
    removeOldRunningPrograms();

    // The status bar is created inside the frame's WM_CREATE, so its panes
    // must be declared first.
    statusBar.allocatePanes(2);
    statusBar.addPane(80, 0);
    statusBar.addPane(14, 0);
    registerProgressWindowClass();
    registerCustomControls();

    if (!mainWindow.createFrame())
        return 0;

    buttonBar.allocateButtons(4);
    buttonBar.addButton("&Start", 60, CommandStart, 0);
    buttonBar.addButton("&Update", 66, CommandUpdate, 1);
    buttonBar.addButton("About", 60, CommandAbout, 0);
    if (!buttonBar.addButton("E&xit", 60, CommandExit, 0))
        return -1;

    mainWindow.initialiseContents();
    mainWindow.show(showState);
    mainWindow.loadAccelerators(MAKEINTRESOURCEA(MainWindow::AcceleratorsId));
    return mainWindow.run();
}
