#pragma once
#include "app/ScanCommand.h"
#include "app/UpdateCommand.h"
#include "app/UpdateFolder.h"
#include "app/core/MainWindowText.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ListedCopies.h"
#include "resources/ResourceIds.h"
#include "toolkit/FileIdentity.h"
#include "toolkit/FrameWindow.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/core/PathText.h"

class Dialog;
class ProgramFinder;
class ProgramListBox;
class ProgressDownloader;

// The application's frame: the button bar, the sorted list of drives or found
// programs and the status bar, plus the working path, the catalogue and the
// fixed-drive flags. Its commands run to completion inside onCommand.
class MainWindow : public FrameWindow {
public:
    // Keeps references to the objects the window and its commands work with
    // and attaches the finder to the list, the status bar and the catalogue.
    // The list and the finder must exist already; the others only by the time
    // createFrame runs (the program's status bar is built after its main
    // window). aboutBox runs the About box's template.
    MainWindow(ProgramListBox &list, ButtonBar &buttonBar, StatusBar &statusBar, ProgramFinder &finder,
               ProgressDownloader &downloader, Dialog &aboutBox);

    // Creates the frame with the list, the button bar and the status bar.
    bool createFrame();

    void adjustClass(WNDCLASSA &windowClass) override;
    void adjustCreateParams(CREATESTRUCTA &params) override;
    void onCommand(WPARAM wParam, LPARAM lParam) override;
    int onCreate() override;
    HBRUSH onCtlColorListBox(WPARAM wParam, LPARAM lParam) override;
    void onDestroy() override;
    void onDrawItem(WPARAM wParam, LPARAM lParam) override;
    void onPaint() override;

    int runScan();
    int runUpdate();
    int showAbout();
    void showFileCount();
    // The update folder, the list's line height, the fixed drives, the two
    // information lines and the temporary folder; once, after createFrame.
    void initialiseContents();
    void findFixedDrives();
    // Whether the Start or Update command may run now: no command is running,
    // its button is enabled and the temporary folder is usable (which warns
    // when it is not). The commands ask first and do nothing else when it is
    // false.
    bool mayStart(int command);
    // True when the temporary folder holds the working path; otherwise shows
    // "The temporary folder cannot be used." and answers false.
    bool temporaryFolderUsable();
    // Shows "The temporary folder cannot be used." and remembers it in
    // temporaryFolderFailed.
    void reportTemporaryFolderUnusable();
    // True when the update folder is a valid address; otherwise shows that
    // the administrator's is not and answers false. Start asks first.
    bool updateFolderUsable();
    // The catalogue's file in the temporary folder, as Start made it: only
    // that file, known by its identity, is ever removed from there (at the
    // next Start and at exit). Whatever else stands at its name, a link
    // planted by another program say, is left alone.
    void keepTemporaryCatalogue(const FileIdentity &identity);
    void removeTemporaryCatalogue();

    static constexpr char Title[] = "Kestrel";
    static constexpr int IconId = IDI_KESTREL;
    static constexpr int AcceleratorsId = IDR_ACCELERATORS;
    // Used when the display's font metrics cannot be read.
    static constexpr int FallbackLineHeight = 20;

    // The temporary folder (ending in a backslash) and the name of the file in
    // use; empty when the folder cannot be used.
    char *tempPath = nullptr;
    Catalogue catalogue;
    // The identities of the listed copies, kept by the finder.
    ListedCopies &listedCopies;
    int fixedDrive[DriveCount] = {};
    // Set while Start or Update runs (RunningCommand); both do nothing then.
    bool commandRunning = false;
    // Where the catalogue and the programs are fetched from.
    UpdateFolder updateFolder;
    // Set once a command found the temporary folder unusable.
    bool temporaryFolderFailed = false;

private:
    ProgramListBox &list_;
    ButtonBar &buttonBar_;
    StatusBar &statusBar_;
    Dialog &aboutBox_;
    GlobalBlock tempPathBlock_;
    bool tempFolderUsable_ = false;
    FileIdentity temporaryCatalogue_{};
    bool temporaryCatalogueKept_ = false;
    ScanCommand scan_;
    UpdateCommand update_;
};

// "The temporary folder cannot be used."
extern const char TemporaryFolderUnusable[];
// The maker's server folder of the catalogue and the program files, unless
// an administrator set another (UpdateFolder).
extern const char UpdateFolderUrl[];
// Base64 of the maker's public key that catalogues must be signed with, or
// of two keys separated by "," while the maker changes keys; empty in a build
// that accepts unsigned catalogues.
extern const char CatalogueKey[];
