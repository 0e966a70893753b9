#include <windows.h>

#include "app/Globals.h"
#include "app/RunningProgram.h"
#include "app/WindowParts.h"
#include "toolkit/CustomControl.h"
#include "toolkit/ProgramInstance.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState)
{
    setProgramInstance(instance);
    // What an update left of this program when it moved a new copy in over it.
    removeOldRunningPrograms();

    // The status bar is created inside the frame's WM_CREATE, so its panes
    // must be declared first.
    addStatusPanes(statusBar);
    registerProgressWindowClass();
    registerCustomControls();

    if (!mainWindow.createFrame())
        return 0;

    if (!addCommandButtons(buttonBar))
        return -1;

    mainWindow.initialiseContents();
    mainWindow.show(showState);
    mainWindow.loadAccelerators(MAKEINTRESOURCEA(MainWindow::AcceleratorsId));
    return mainWindow.run();
}
