#pragma once
#include "app/core/CommandLine.h"

#include <cstdint>

class ButtonBar;
class ListBoxControl;
class MainWindow;
class RunLog;

// A run with no one at the screen: Start, then for /update Update when
// anything was listed, on the hidden main window, whose boxes go to the log.
// Logs the catalogue used, each copy found outdated and each copy replaced,
// and answers the run's exit code.
class UnattendedRun {
public:
    UnattendedRun(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, RunLog &log);
    UnattendedRun(const UnattendedRun &) = delete;
    UnattendedRun &operator=(const UnattendedRun &) = delete;

    int run(RunMode mode);

private:
    void logCatalogue();
    // Logs each listed copy with its version and the catalogue's; answers
    // how many there are.
    long logOutdatedCopies();
    // Logs each copy of paths (count of them, MAX_PATH apart) that now has
    // the catalogue's version; answers how many do.
    long logReplacedCopies(const char *paths, long count);
    // The catalogue's version for the program at path, and its own; false
    // when either is unknown.
    bool versions(const char *path, const std::int32_t *&catalogue, std::int32_t (&installed)[4]);

    MainWindow &window_;
    ListBoxControl &list_;
    ButtonBar &buttonBar_;
    RunLog &log_;
};
