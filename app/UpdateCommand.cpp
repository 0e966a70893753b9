#include "app/UpdateCommand.h"

#include "app/CommandIds.h"
#include "app/DownloadCheck.h"
#include "app/FetchSettings.h"
#include "app/MainWindow.h"
#include "app/RunningCommand.h"
#include "app/SafeReplace.h"
#include "net/ProgressDownloader.h"
#include "net/core/ReplaceFileName.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/HeapArray.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/ResourceText.h"
#include "toolkit/StatusBar.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

constexpr UINT NotThePromisedProgram = IDS_NOT_THE_PROMISED_PROGRAM;

FILETIME toFileTime(const FileTime &time)
{
    return FILETIME{time.lowDateTime, time.highDateTime};
}

// The temporary files this run has fetched, by name. Kept apart from the
// entries so that they can still be deleted after closing the window has
// freed the entries.
class FetchedFiles {
public:
    void add(const char *name)
    {
        if (count_ < MaxCatalogueEntries)
            std::strcpy(names_[count_++], name);
    }
    void deleteAll(char *tempPath) const
    {
        for (int i = 0; i < count_; ++i) {
            if (replaceFileName(tempPath, MainWindow::TempPathSize, names_[i]))
                DeleteFileA(tempPath);
        }
    }

private:
    char names_[MaxCatalogueEntries][FileNameFieldSize] = {};
    int count_ = 0;
};

} // namespace

UpdateCommand::UpdateCommand(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, StatusBar &statusBar,
                             ProgressDownloader &downloader)
    : window_(window), list_(list), buttonBar_(buttonBar), statusBar_(statusBar), downloader_(downloader)
{
}

int UpdateCommand::run()
{
    if (window_.commandRunning || !buttonBar_.isButtonEnabled(CommandUpdate))
        return 0;
    if (!window_.temporaryFolderUsable())
        return 0;
    RunningCommand running(window_.commandRunning);
    char *const tempPath = window_.tempPath;

    if (!downloader_.openSession(AgentName)) {
        window_.showWarning("Can't start the internet session", "Kestrel");
        return 0;
    }
    buttonBar_.enableButton(CommandUpdate, 0);
    downloader_.setMessageOwner(window_.handle);

    FetchedFiles fetched;
    const int count = window_.catalogue.entryCount;
    for (int index = 0; index < count && !windowDestroyed(window_.handle); ++index) {
        CatalogueEntry &entry = window_.catalogue.entries[index];
        if (!entry.needsUpdate)
            continue;
        char fileName[FileNameFieldSize];
        std::strcpy(fileName, entry.fileName);

        downloader_.createProgressWindow(window_.handle, ProgressColumns, ProgressColour);
        char url[Downloader::UrlBufferSize];
        std::strcpy(url, UpdateFolderUrl);
        const int ok = downloader_.fetchAndReport(url, tempPath, fileName);
        downloader_.destroyProgressWindow();

        if (windowDestroyed(window_.handle)) {
            // The fetch was stopped by the closing: its file is ours to remove.
            // The window's clean-up has pointed tempPath at the catalogue.
            if (replaceFileName(tempPath, MainWindow::TempPathSize, fileName))
                DeleteFileA(tempPath);
            break;
        }
        if (!ok)
            continue;
        // The checksum first: the version resource of a file the maker did
        // not publish is better left unparsed.
        if (!matchesCatalogueChecksum(tempPath, entry) || !isPromisedProgram(tempPath, entry.version)) {
            DeleteFileA(tempPath);
            char text[80];
            loadMessageText(NotThePromisedProgram, text, sizeof text);
            window_.showWarning(text, url);
            continue;
        }
        entry.downloaded = 1;
        fetched.add(fileName);

        FileHandle file(CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        const FILETIME stamp = toFileTime(entry.fileTime);
        if (!file.valid() || !SetFileTime(file.get(), &stamp, &stamp, &stamp))
            window_.showWarning("Error saving date", tempPath);
    }
    downloader_.closeSession();

    char name[FileNameFieldSize];
    while (!windowDestroyed(window_.handle)) {
        const LRESULT length = SendMessageA(list_.handle, LB_GETTEXTLEN, 0, 0);
        if (length == LB_ERR)
            break;
        HeapArray<char> line;
        if (!line.allocate(static_cast<SIZE_T>(length) + 1))
            break;
        SendMessageA(list_.handle, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line.get()));
        fileNameFromPath(line.get(), name, sizeof name);
        const CatalogueEntry *entry = nullptr;
        if (window_.catalogue.findEntryByName(name))
            entry = &window_.catalogue.entries[window_.catalogue.matchIndex];
        bool replaced = false;
        if (entry && entry->downloaded && replaceFileName(tempPath, MainWindow::TempPathSize, entry->fileName))
            replaced = replaceProgramFile(tempPath, line.get(), toFileTime(entry->fileTime));
        if (!replaced)
            window_.showWarning("Can't replace this file", line.get());
        if (windowDestroyed(window_.handle))
            break;
        SendMessageA(list_.handle, LB_DELETESTRING, 0, 0);
    }

    fetched.deleteAll(tempPath);
    if (!windowDestroyed(window_.handle))
        statusBar_.setPaneText(0, "Done");
    return 1;
}
