#pragma once
#include <windows.h>

// Where the program's message boxes go. Every box is shown through
// showMessage; in an unattended run a recorder takes each text and caption
// instead, and the run goes on as after OK.
class MessageRecorder {
public:
    virtual void record(const char *text, const char *caption) = 0;

protected:
    ~MessageRecorder() = default;
};

// From now on boxes go to recorder (nullptr: on screen again).
void recordMessagesWith(MessageRecorder *recorder);

// A message box of type (MB_ICONWARNING, MB_ICONINFORMATION) owned by owner,
// or the recorder's record; IDOK then.
int showMessage(HWND owner, const char *text, const char *caption, UINT type);
