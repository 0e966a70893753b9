#include "app/MainWindow.h"

#include "app/CommandIds.h"
#include "app/Globals.h"
#include "app/RunningCommand.h"
#include "catalogue/TextFileReader.h"
#include "net/FileSink.h"
#include "net/core/ReplaceFileName.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/MessagePump.h"

#include <cstring>

namespace {

const char CatalogueFileName[] = "Kestrel.ini";
const char AgentName[] = "Kestrel";
const char NothingToUpdate[] = "Nothing to update.";
constexpr int ProgressColumns = 40;
constexpr COLORREF ProgressColour = RGB(0, 255, 0);
constexpr int SearchDepth = 16;

// Size of the downloaded catalogue; 0 when it is missing or unreadable.
DWORD catalogueSize(const char *path)
{
    FileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return 0;
    DWORD size = GetFileSize(file.get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

} // namespace

int MainWindow::runScan()
{
    if (commandRunning || !buttonBar->isButtonEnabled(CommandStart))
        return 0;
    if (!temporaryFolderUsable())
        return 0;
    RunningCommand running(commandRunning);

    SendMessageA(listBox->handle, LB_RESETCONTENT, 0, 0);
    if (replaceFileName(tempPath, TempPathSize, CatalogueFileName))
        DeleteFileA(tempPath);

    int fetched = 0;
    // After a fetch, the catalogue's URL: the caption of its warnings.
    char url[Downloader::UrlBufferSize];
    if (downloader.openSession(AgentName)) {
        downloader.setMessageOwner(handle);
        downloader.createProgressWindow(handle, ProgressColumns, ProgressColour);
        std::strcpy(url, UpdateFolderUrl);
        // A catalogue too large to be read is refused while it arrives: a
        // server sending without end must not fill the disk.
        FileSink catalogueFile(tempPath, TextFileReader::MaxFileSize);
        fetched = downloader.fetchAndReport(url, CatalogueFileName, catalogueFile);
        downloader.destroyProgressWindow();
        downloader.closeSession();
    }
    pumpPendingMessages();

    // Closing the window during the fetch stops it; the window's own clean-up
    // could not remove the catalogue while the fetch still wrote it.
    if (windowDestroyed(handle)) {
        DeleteFileA(tempPath);
        return 0;
    }
    if (!fetched || catalogueSize(tempPath) == 0) {
        // A catalogue refused as too large has had its own message.
        if (downloader.status != DownloadTooLarge)
            showWarning("Failed to retrieve version information", "Kestrel");
        return 0;
    }
    if (!catalogue.readCatalogue(tempPath, url, CatalogueKey))
        return 0;

    char root[] = "?:\\";
    for (int index = 2; index < 26; ++index) {
        if (!fixedDrive[index])
            continue;
        root[0] = static_cast<char>('A' + index);
        finder.search(root, "*.exe", SearchDepth, 0);
        if (windowDestroyed(handle)) {
            DeleteFileA(tempPath);
            return 0;
        }
    }

    showFileCount();
    if (SendMessageA(listBox->handle, LB_GETCOUNT, 0, 0) > 0) {
        buttonBar->enableButton(CommandStart, 0);
        buttonBar->enableButton(CommandUpdate, 1);
        statusBar->setPaneText(0, "Ready to update");
        return 1;
    }
    statusBar->setPaneText(0, NothingToUpdate);
    SendMessageA(listBox->handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NothingToUpdate));
    return 1;
}
