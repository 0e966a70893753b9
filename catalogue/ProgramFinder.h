#pragma once
#include "catalogue/FileFinder.h"
#include "catalogue/ListedCopies.h"
#include "toolkit/core/IntervalGate.h"

#include <cstdint>

class Catalogue;
class ListBoxControl;
class StatusBar;

// The program's finder: lists every outdated copy of the maker's programs it
// meets, keeps the window alive while it searches and shows its progress in
// pane 0 of the status bar.
//
// Waiting messages are let through when a search starts, then at the folders
// it enters at most every PumpInterval, and once more when it ends: a round
// trip to the window system costs a good share of reading a folder, and a
// click or a quit message is still answered within PumpInterval. A waiting
// quit message stops the search.
//
// The program's finder is a global built before the main window, the list
// and the status bar: it is attached to them once they exist, and touches
// them only during a search.
class ProgramFinder : public FileFinder {
public:
    ProgramFinder() = default;
    void attach(Catalogue &catalogue, ListBoxControl &list, StatusBar &statusBar);
    // The identities of the copies listed, keyed by each line's item data.
    ListedCopies &listedCopies() { return copies_; }

    // In microseconds.
    static constexpr std::uint64_t PumpInterval = 10000;
    // Pane 0 gets a new folder at most every 30 ms, and less often while
    // showing one costs more than a twentieth of that: setting and painting
    // a pane's text costs more than reading a folder (much more on a busy
    // machine), and nobody reads faster than this anyway. In microseconds.
    static constexpr std::uint64_t MinimumDisplayInterval = 30000;
    static constexpr std::uint64_t DisplayCostShare = 20;

protected:
    void onBackInFolder() override;
    int onFile(const WIN32_FIND_DATAA &found) override;
    int onEnterFolder(const WIN32_FIND_DATAA &found) override;
    int onSearchEnd() override;
    // A monotonic clock in microseconds; replaced in tests to set the pace.
    virtual std::uint64_t microsecondsNow();

private:
    Catalogue *catalogue_ = nullptr;
    ListBoxControl *list_ = nullptr;
    StatusBar *statusBar_ = nullptr;
    ListedCopies copies_;
    IntervalGate pumpGate_{PumpInterval};
    bool folderShown_ = false;
    std::uint64_t folderShownAt_ = 0;
    std::uint64_t displayInterval_ = 0;
};
