#pragma once
#include <cstddef>

// How Kestrel was asked to run. Without arguments a person drives the
// window; "/update" and "/check" (any letter case, "-" for "/") run
// unattended, optionally followed by "/log FILE".
enum class RunMode {
    Interactive,
    Check,  // Start only
    Update, // Start, then Update when anything was listed
};

struct CommandLine {
    RunMode mode = RunMode::Interactive;
    // False when something on the line was not understood: the run is then
    // unattended, and does nothing but log notUnderstood and end.
    bool understood = true;
    // The file given with "/log"; empty for the usual log.
    char logPath[260] = {};
    // The first word not understood, or what was wrong with it.
    char notUnderstood[100] = {};
};

// Reads the arguments as the program receives them (without the program's
// own name). Words are separated by spaces or tabs; double quotes group a
// word with spaces and are themselves left out.
CommandLine parseCommandLine(const char *arguments);

// What an unattended run ends with.
enum ExitCode : int {
    ExitDone = 0,           // nothing to update, or every listed copy replaced
    ExitNotAllReplaced = 1, // /update: some copies were not replaced
    ExitStartFailed = 2,    // no usable catalogue, or no usable temporary folder
    ExitBadCommandLine = 3,
    ExitAlreadyRunning = 4, // another Kestrel runs for this user
    ExitUpdatesWaiting = 10, // /check: copies wait to be updated
};

struct RunOutcome {
    bool started = false;          // Start fetched, trusted and searched
    long outdated = 0;             // copies Start listed
    bool temporaryFolderFailed = false; // Update could not use the temporary folder
    long replaced = 0;             // copies Update replaced
};

// The exit code of an unattended run of mode (Check or Update) that ended so.
int unattendedExitCode(RunMode mode, const RunOutcome &outcome);
