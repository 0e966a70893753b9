#include "app/MainWindow.h"

#include "app/CommandIds.h"
#include "app/DownloadCheck.h"
#include "app/Globals.h"
#include "app/RunningCommand.h"
#include "app/ReplaceFailureText.h"
#include "app/SafeReplace.h"
#include "net/core/ReplaceFileName.h"
#include "toolkit/HeapArray.h"
#include "toolkit/BriefHoldRetry.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/ResourceText.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

const char AgentName[] = "Kestrel";
constexpr int ProgressColumns = 40;
constexpr COLORREF ProgressColour = RGB(0, 255, 0);
constexpr UINT NotThePromisedProgram = IDS_NOT_THE_PROMISED_PROGRAM;
constexpr int ReplaceFailureTextSize = 400;

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

int MainWindow::runUpdate()
{
    if (commandRunning || !buttonBar->isButtonEnabled(CommandUpdate))
        return 0;
    if (!temporaryFolderUsable())
        return 0;
    RunningCommand running(commandRunning);

    if (!downloader.openSession(AgentName)) {
        showWarning("Can't start the internet session", "Kestrel");
        return 0;
    }
    buttonBar->enableButton(CommandUpdate, 0);
    downloader.setMessageOwner(handle);

    FetchedFiles fetched;
    const int count = catalogue.entryCount;
    for (int index = 0; index < count && !windowDestroyed(handle); ++index) {
        CatalogueEntry &entry = catalogue.entries[index];
        if (!entry.needsUpdate)
            continue;
        char fileName[FileNameFieldSize];
        std::strcpy(fileName, entry.fileName);

        downloader.createProgressWindow(handle, ProgressColumns, ProgressColour);
        char url[Downloader::UrlBufferSize];
        std::strcpy(url, UpdateFolderUrl);
        const int ok = downloader.fetchAndReport(url, tempPath, fileName);
        downloader.destroyProgressWindow();

        if (windowDestroyed(handle)) {
            // The fetch was stopped by the closing: its file is ours to remove.
            // The window's clean-up has pointed tempPath at the catalogue.
            if (replaceFileName(tempPath, TempPathSize, fileName))
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
            showWarning(text, url);
            continue;
        }
        entry.downloaded = 1;
        fetched.add(fileName);
    }
    downloader.closeSession();

    char name[FileNameFieldSize];
    while (!windowDestroyed(handle)) {
        const LRESULT length = SendMessageA(listBox->handle, LB_GETTEXTLEN, 0, 0);
        if (length == LB_ERR)
            break;
        HeapArray<char> line;
        if (!line.allocate(static_cast<SIZE_T>(length) + 1))
            break;
        SendMessageA(listBox->handle, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line.get()));
        fileNameFromPath(line.get(), name, sizeof name);
        const CatalogueEntry *entry = nullptr;
        for (int index = 0; index < catalogue.entryCount && !entry; ++index) {
            if (sameFileName(catalogue.entries[index].fileName, name))
                entry = &catalogue.entries[index];
        }
        if (entry && entry->downloaded && replaceFileName(tempPath, TempPathSize, entry->fileName)) {
            FileHandle program(openJustWrittenFile(tempPath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                                   FILE_FLAG_SEQUENTIAL_SCAN));
            ReplacementCopy copy;
            if (!program.valid() || !copy.write(program.get(), line.get(), toFileTime(entry->fileTime)) ||
                !copy.moveOverTarget()) {
                char text[ReplaceFailureTextSize];
                replaceFailureText(copy.failure(), text, sizeof text);
                showWarning(text, line.get());
            }
        } else {
            showWarning(CantReplaceThisFile, line.get());
        }
        if (windowDestroyed(handle))
            break;
        SendMessageA(listBox->handle, LB_DELETESTRING, 0, 0);
    }

    fetched.deleteAll(tempPath);
    if (!windowDestroyed(handle))
        statusBar->setPaneText(0, "Done");
    return 1;
}
