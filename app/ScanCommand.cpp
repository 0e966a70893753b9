#include "app/ScanCommand.h"

#include "app/CommandIds.h"
#include "app/FetchSettings.h"
#include "app/MainWindow.h"
#include "app/RunningCommand.h"
#include "app/core/MainWindowText.h"
#include "catalogue/ProgramFinder.h"
#include "catalogue/TextFileReader.h"
#include "net/FileSink.h"
#include "net/ProgressDownloader.h"
#include "net/core/ReplaceFileName.h"
#include "toolkit/BriefHoldRetry.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/CodePage.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/MessagePump.h"
#include "toolkit/StatusBar.h"

#include <cstring>

namespace {

const char NothingToUpdate[] = "Nothing to update.";
constexpr int SearchDepth = 16;

// Size of the downloaded catalogue; 0 when it is missing or unreadable.
DWORD catalogueSize(const char *path)
{
    FileHandle file(openJustWrittenFile(path, GENERIC_READ, 0, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL));
    if (!file.valid())
        return 0;
    DWORD size = GetFileSize(file.get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

} // namespace

ScanCommand::ScanCommand(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, StatusBar &statusBar,
                         ProgramFinder &finder, ProgressDownloader &downloader)
    : window_(window), list_(list), buttonBar_(buttonBar), statusBar_(statusBar), finder_(finder),
      downloader_(downloader)
{
}

int ScanCommand::run()
{
    if (window_.commandRunning || !buttonBar_.isButtonEnabled(CommandStart))
        return 0;
    if (!window_.temporaryFolderUsable() || !window_.updateFolderUsable())
        return 0;
    RunningCommand running(window_.commandRunning);

    char *const tempPath = window_.tempPath;
    SendMessageA(list_.handle, LB_RESETCONTENT, 0, 0);
    if (replaceFileName(tempPath, MainWindow::TempPathSize, CatalogueFileName, programLeadBytes()))
        DeleteFileA(tempPath);

    int fetched = 0;
    // A catalogue refused as too large has had its own message. Decided on
    // this run's fetch alone: the status may be an earlier one's when no
    // session could be opened.
    bool refusedAsTooLarge = false;
    // After a fetch, the catalogue's URL: the caption of its warnings.
    char url[Downloader::UrlBufferSize];
    if (downloader_.openSession(AgentName)) {
        downloader_.setMessageOwner(window_.handle);
        downloader_.createProgressWindow(window_.handle, ProgressColumns, ProgressColour);
        std::strcpy(url, window_.updateFolder.url);
        // A catalogue too large to be read is refused while it arrives: a
        // server sending without end must not fill the disk.
        FileSink catalogueFile(tempPath, TextFileReader::MaxFileSize);
        fetched = downloader_.fetchAndReport(url, CatalogueFileName, catalogueFile);
        refusedAsTooLarge = !fetched && downloader_.status == DownloadTooLarge;
        downloader_.destroyProgressWindow();
        downloader_.closeSession();
    }
    pumpPendingMessages();

    // Closing the window during the fetch stops it; the window's own clean-up
    // could not remove the catalogue while the fetch still wrote it.
    if (windowDestroyed(window_.handle)) {
        DeleteFileA(tempPath);
        return 0;
    }
    if (!fetched || catalogueSize(tempPath) == 0) {
        if (!refusedAsTooLarge)
            window_.showWarning("Failed to retrieve version information", "Kestrel");
        return 0;
    }
    if (!window_.catalogue.readCatalogue(tempPath, url, CatalogueKey))
        return 0;

    char root[4];
    for (int index = FirstSearchedDrive; index < DriveCount; ++index) {
        if (!window_.fixedDrive[index])
            continue;
        driveRoot(index, root);
        finder_.search(root, "*.exe", SearchDepth, 0);
        if (windowDestroyed(window_.handle)) {
            DeleteFileA(tempPath);
            return 0;
        }
    }

    window_.showFileCount();
    if (SendMessageA(list_.handle, LB_GETCOUNT, 0, 0) > 0) {
        buttonBar_.enableButton(CommandStart, 0);
        buttonBar_.enableButton(CommandUpdate, 1);
        statusBar_.setPaneText(0, "Ready to update");
        return 1;
    }
    statusBar_.setPaneText(0, NothingToUpdate);
    SendMessageA(list_.handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NothingToUpdate));
    return 1;
}
