#pragma once
#include "catalogue/FileFinder.h"

class Catalogue;
class ListBoxControl;
class StatusBar;

// The program's finder: lists every outdated copy of the maker's programs it
// meets, keeps the window alive while it searches and shows its progress in
// pane 0 of the status bar.
//
// The program's finder is a global built before the main window, the list
// and the status bar: it is attached to them once they exist, and touches
// them only during a search.
class ProgramFinder : public FileFinder {
public:
    ProgramFinder();
    ProgramFinder(Catalogue &catalogue, ListBoxControl &list, StatusBar &statusBar);
    void attach(Catalogue &catalogue, ListBoxControl &list, StatusBar &statusBar);

    // Pane 0 gets a new folder at most every 30 ms, and less often while
    // showing one costs more than a twentieth of that: setting and painting
    // a pane's text costs more than reading a folder (much more on a busy
    // machine), and nobody reads faster than this anyway.
    static constexpr double minimumDisplayInterval = 0.030;
    static constexpr double displayCostShare = 20;

protected:
    void onBackInFolder() override;
    int onFile(const WIN32_FIND_DATAA &found) override;
    int onEnterFolder(const WIN32_FIND_DATAA &found) override;

private:
    Catalogue *catalogue_ = nullptr;
    ListBoxControl *list_ = nullptr;
    StatusBar *statusBar_ = nullptr;
    LONGLONG shortestDisplayInterval_ = 0;
    bool folderShown_ = false;
    LONGLONG folderShownAt_ = 0;
    LONGLONG displayInterval_ = 0;
};
