#include <windows.h>

#include "app/Globals.h"
#include "app/RunLog.h"
#include "app/RunningProgram.h"
#include "app/UnattendedRun.h"
#include "app/UserMutex.h"
#include "app/WindowParts.h"
#include "app/core/CommandLine.h"
#include "toolkit/CustomControl.h"
#include "toolkit/ProgramInstance.h"
#include "toolkit/core/TextWriter.h"
#include "resources/ProgramVersion.h"
#include "resources/ResourceIds.h"

namespace {

// Logs the end of an unattended run and answers its exit code.
int endRun(RunLog &log, int exitCode)
{
    char event[40];
    TextWriter(event, sizeof event).text("run ended, exit code ").number(exitCode);
    log.write(event);
    return exitCode;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showState)
{
    setProgramInstance(instance);
    const CommandLine commandLine = parseCommandLine(arguments);
    const bool unattended = commandLine.mode != RunMode::Interactive || !commandLine.understood;

    // Every Kestrel holds it; only an unattended one stands back for another.
    UserMutex mutex;
    const bool another = mutex.acquireFindsAnother();

    RunLog log;
    if (unattended) {
        log.open(commandLine.logPath);
        char event[RunLog::LineSize];
        TextWriter(event, sizeof event).text("Kestrel " KESTREL_VERSION_TEXT " started: ").text(GetCommandLineA());
        log.write(event);
        if (!commandLine.understood) {
            TextWriter(event, sizeof event).text("not understood: ").text(commandLine.notUnderstood);
            log.write(event);
            return endRun(log, ExitBadCommandLine);
        }
        if (another) {
            log.write("another Kestrel is running for this user; nothing done");
            return endRun(log, ExitAlreadyRunning);
        }
        recordMessagesWith(&log);
    }

    // What an update left of this program when it moved a new copy in over it.
    removeOldRunningPrograms();

    // The status bar is created inside the frame's WM_CREATE, so its panes
    // must be declared first.
    addStatusPanes(statusBar);
    registerProgressWindowClass();
    registerCustomControls();

    if (!mainWindow.createFrame())
        return unattended ? endRun(log, ExitStartFailed) : 0;

    if (!addCommandButtons(buttonBar))
        return unattended ? endRun(log, ExitStartFailed) : -1;

    mainWindow.initialiseContents();
    if (unattended) {
        // The window stays hidden: its list is the Update's data.
        const int exitCode = UnattendedRun(mainWindow, programList, buttonBar, log).run(commandLine.mode);
        mainWindow.destroy();
        return endRun(log, exitCode);
    }
    mainWindow.show(showState);
    mainWindow.loadAccelerators(MAKEINTRESOURCEA(MainWindow::AcceleratorsId));
    return mainWindow.run();
}
