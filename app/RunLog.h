#pragma once
#include "toolkit/MessageRoute.h"

#include <windows.h>

// The log of an unattended run: every event a line of UTF-8 text, the UTC
// time first, appended to the file given on the command line or to
// %LOCALAPPDATA%\Corvel\Kestrel\Kestrel.log. A log past LogRollOverSize is
// moved to the same name with ".1" before the next line. A log that cannot
// be written is done without: the run goes on and nothing is shown.
//
// As the run's message recorder it takes every box's text and caption.
class RunLog : public MessageRecorder {
public:
    RunLog() = default;
    RunLog(const RunLog &) = delete;
    RunLog &operator=(const RunLog &) = delete;

    // Sets the log's file: givenPath, or the usual one (its folders made)
    // when givenPath is empty.
    void open(const char *givenPath);
    // Appends one line: the time, then event (in the ANSI code page; line
    // breaks and tabs become spaces).
    void write(const char *event);
    void record(const char *text, const char *caption) override;

    static constexpr int LineSize = 1024;

private:
    char path_[MAX_PATH] = {};
};
