#pragma once

class ButtonBar;
class ListBoxControl;
class MainWindow;
class ProgressDownloader;
class StatusBar;

// Update: fetches each flagged entry's file of the window's catalogue once into
// a folder of the run's own under the temporary folder, holding it, stamps it
// with the entry's time, puts it over every listed copy of its program while
// emptying the list, deletes the fetched files and their folder and shows "Done".
class UpdateCommand {
public:
    UpdateCommand(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, StatusBar &statusBar,
                  ProgressDownloader &downloader);
    UpdateCommand(const UpdateCommand &) = delete;
    UpdateCommand &operator=(const UpdateCommand &) = delete;

    // 1 when the command ran (whatever each file's outcome); 0 when it did not
    // start or the session could not be opened.
    int run();

private:
    MainWindow &window_;
    ListBoxControl &list_;
    ButtonBar &buttonBar_;
    StatusBar &statusBar_;
    ProgressDownloader &downloader_;
};
