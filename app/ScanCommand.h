#pragma once

class ButtonBar;
class ListBoxControl;
class MainWindow;
class ProgramFinder;
class ProgressDownloader;
class StatusBar;

// Start: fetches the catalogue into the temporary folder, has the window's
// catalogue check and load it, and has the finder list every outdated copy on
// the fixed drives. Ends with Update enabled when something was found.
class ScanCommand {
public:
    ScanCommand(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, StatusBar &statusBar,
                ProgramFinder &finder, ProgressDownloader &downloader);
    ScanCommand(const ScanCommand &) = delete;
    ScanCommand &operator=(const ScanCommand &) = delete;

    // 1 when the drives were searched, whatever was found; 0 when the command
    // did not run, failed (the user has been told) or the window was closed.
    int run();

    // What the search looks for on each fixed drive, and how many levels of
    // subfolders below the root it goes down.
    static constexpr char ProgramPattern[] = "*.exe";
    static constexpr int SearchDepth = 16;

private:
    MainWindow &window_;
    ListBoxControl &list_;
    ButtonBar &buttonBar_;
    StatusBar &statusBar_;
    ProgramFinder &finder_;
    ProgressDownloader &downloader_;
};
