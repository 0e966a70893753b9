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
#include "resources/MessageCaption.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/CodePage.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/MessagePump.h"
#include "toolkit/OwnedFile.h"
#include "toolkit/StatusBar.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

const char NothingToUpdate[] = "Nothing to update.";

// Prefix of the fresh file the catalogue is fetched into, beside its name.
const char FreshCataloguePrefix[] = "Kes";

// Size of the fetched catalogue; 0 when it cannot be read.
DWORD catalogueSize(HANDLE file)
{
    LARGE_INTEGER size{};
    return GetFileSizeEx(file, &size) && size.HighPart == 0 ? size.LowPart : 0;
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
    if (!window_.mayStart(CommandStart) || !window_.updateFolderUsable())
        return 0;
    RunningCommand running(window_.commandRunning);

    char *const tempPath = window_.tempPath;
    SendMessageA(list_.handle, LB_RESETCONTENT, 0, 0);
    window_.listedCopies.clear();
    window_.removeTemporaryCatalogue();
    // The catalogue arrives in a new file of Kestrel's own beside its name,
    // and is moved over that name only once whole: no name that stood there
    // before, a link to another file say, is ever written through.
    OwnedFile fresh;
    char temporaryFolder[PathBufferSize];
    std::strcpy(temporaryFolder, tempPath);
    cutToDirectory(temporaryFolder, programLeadBytes());
    fresh.create(temporaryFolder, FreshCataloguePrefix, GENERIC_READ | GENERIC_WRITE);
    replaceFileName(tempPath, PathBufferSize, CatalogueFileName, programLeadBytes());

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
        FileSink catalogueFile(fresh.get(), tempPath, TextFileReader::MaxFileSize);
        fetched = downloader_.fetchAndReport(url, CatalogueFileName, catalogueFile);
        refusedAsTooLarge = !fetched && downloader_.status == DownloadTooLarge;
        downloader_.destroyProgressWindow();
        downloader_.closeSession();
    }
    pumpPendingMessages();

    // Closing the window during the fetch stops it; the fresh file goes with
    // its owner.
    if (windowDestroyed(window_.handle))
        return 0;
    const FileIdentity catalogueIdentity = fresh.identity();
    if (!fetched || catalogueSize(fresh.get()) == 0 || !fresh.moveOver(tempPath)) {
        if (!refusedAsTooLarge)
            window_.showWarning("Failed to retrieve version information", MessageCaption);
        return 0;
    }
    window_.keepTemporaryCatalogue(catalogueIdentity);
    if (!window_.catalogue.readCatalogue(tempPath, url, CatalogueKey))
        return 0;

    char root[4];
    for (int index = FirstSearchedDrive; index < DriveCount; ++index) {
        if (!window_.fixedDrive[index])
            continue;
        driveRoot(index, root);
        finder_.search(root, ProgramPattern, SearchDepth, 0);
        if (windowDestroyed(window_.handle)) {
            window_.removeTemporaryCatalogue();
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
