#pragma once
#include <windows.h>

// Marks a long command as running for its whole extent, whichever way it
// returns. Start and Update are dispatched from inside a running command (its
// downloads and its search let clicks through), and the download object, the
// finder and the list serve one command at a time, so a command that finds
// the mark set does nothing.
class RunningCommand {
public:
    explicit RunningCommand(bool &running) : running_(running) { running_ = true; }
    ~RunningCommand() { running_ = false; }
    RunningCommand(const RunningCommand &) = delete;
    RunningCommand &operator=(const RunningCommand &) = delete;

private:
    bool &running_;
};

// Exit or the close box can destroy the main window while a command waits in a
// download, a folder of the search or a message box; from then on the entries
// and the list are gone and the command must neither read them nor speak.
inline bool windowDestroyed(HWND window)
{
    return window == nullptr || !IsWindow(window);
}
