#include "app/UpdateCommand.h"

#include "app/CommandIds.h"
#include "app/DownloadCheck.h"
#include "app/FetchSettings.h"
#include "app/MainWindow.h"
#include "app/ProgramSink.h"
#include "app/ReplaceFailureText.h"
#include "app/RunFolder.h"
#include "app/RunningCommand.h"
#include "app/RunningProgram.h"
#include "app/SafeReplace.h"
#include "net/ProgressDownloader.h"
#include "net/core/ReplaceFileName.h"
#include "resources/MessageCaption.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/CodePage.h"
#include "toolkit/HeapArray.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/ResourceText.h"
#include "toolkit/StatusBar.h"
#include "toolkit/core/PathText.h"

#include <cstring>

namespace {

constexpr UINT NotThePromisedProgram = IDS_NOT_THE_PROMISED_PROGRAM;
constexpr UINT KestrelUpdated = IDS_KESTREL_UPDATED;
constexpr int ReplaceFailureTextSize = 400;
const char ErrorSavingDate[] = "Error saving date";

FILETIME toFileTime(const FileTime &time)
{
    return FILETIME{time.lowDateTime, time.highDateTime};
}

// "The downloaded file is not the expected program.", captioned with the
// program's URL.
void showNotTheExpectedProgram(MainWindow &window, const char *fileName)
{
    char url[Downloader::UrlBufferSize];
    std::strcpy(url, window.updateFolder.url);
    replaceFileName(url, sizeof url, fileName, programLeadBytes());
    char text[80];
    loadMessageText(NotThePromisedProgram, text, sizeof text);
    window.showWarning(text, url);
}

// Puts the held program over one listed copy through a copy beside it, whose
// version is checked before it is moved in: those are the bytes that will be
// installed, and the held file itself cannot be read by the platform's
// version functions on Windows while it is held for writing. A program that
// fails the check is dropped for all its copies. Every failure shows its box.
// True when the copy is in place.
bool replaceListedCopy(MainWindow &window, ProgramSink &program, const CatalogueEntry &entry, const char *target,
                       const ListedCopy *kept)
{
    ReplacementCopy copy;
    if (copy.write(program.heldFile(), target, kept)) {
        if (!isPromisedProgram(copy.path(), entry.version)) {
            copy.discard();
            program.drop();
            showNotTheExpectedProgram(window, entry.fileName);
            window.showWarning(CantReplaceThisFile, target);
            return false;
        }
        if (copy.moveOverTarget())
            return true;
    }
    char text[ReplaceFailureTextSize];
    replaceFailureText(copy.failure(), text, sizeof text);
    window.showWarning(text, target);
    return false;
}

} // namespace

UpdateCommand::UpdateCommand(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, StatusBar &statusBar,
                             ProgressDownloader &downloader)
    : window_(window), list_(list), buttonBar_(buttonBar), statusBar_(statusBar), downloader_(downloader)
{
}

int UpdateCommand::run()
{
    if (!window_.mayStart(CommandUpdate))
        return 0;
    RunningCommand running(window_.commandRunning);

    // Made before the programs, so that it is removed after them.
    RunFolder folder;
    char temporaryFolder[PathBufferSize];
    std::strcpy(temporaryFolder, window_.tempPath);
    cutToDirectory(temporaryFolder, programLeadBytes());
    if (!folder.create(temporaryFolder)) {
        window_.reportTemporaryFolderUnusable();
        return 0;
    }
    // One per entry, by index; each deletes its file when it is dropped.
    static_assert(sizeof(ProgramSink) * MaxCatalogueEntries < 64 * 1024, "the sinks live on the stack");
    ProgramSink programs[MaxCatalogueEntries];

    if (!downloader_.openSession(AgentName)) {
        window_.showWarning("Can't start the internet session", MessageCaption);
        return 0;
    }
    buttonBar_.enableButton(CommandUpdate, 0);
    downloader_.setMessageOwner(window_.handle);

    const int count = window_.catalogue.entryCount;
    for (int index = 0; index < count && !windowDestroyed(window_.handle); ++index) {
        CatalogueEntry &entry = window_.catalogue.entries[index];
        if (!entry.needsUpdate)
            continue;
        // Closing the window frees the entries while the fetch still runs.
        char fileName[FileNameFieldSize];
        std::strcpy(fileName, entry.fileName);
        // A path too long for the working path fails as a file that cannot be
        // created, named whole in its warning.
        char path[ProgramSink::PathRoom];
        ProgramSink &program = programs[index];
        program.prepare(folder.pathOf(fileName, path, sizeof path) ? path : "", entry);

        downloader_.createProgressWindow(window_.handle, ProgressColumns, ProgressColour);
        char url[Downloader::UrlBufferSize];
        std::strcpy(url, window_.updateFolder.url);
        const int ok = downloader_.fetchAndReport(url, fileName, program);
        downloader_.destroyProgressWindow();

        if (windowDestroyed(window_.handle) || !ok)
            continue;
        if (!program.matchesChecksum()) {
            program.drop();
            showNotTheExpectedProgram(window_, fileName);
            continue;
        }
        entry.downloaded = 1;
        // Through the handle that holds it, which shares neither writing nor
        // deletion, so the path cannot be opened again for this. Every copy
        // takes the download's times; a failed stamp only leaves them as
        // they came.
        const FILETIME stamp = toFileTime(entry.fileTime);
        if (!SetFileTime(program.heldFile(), &stamp, &stamp, &stamp))
            window_.showWarning(ErrorSavingDate, program.path());
    }
    downloader_.closeSession();

    char name[FileNameFieldSize];
    bool replacedRunningProgram = false;
    while (!windowDestroyed(window_.handle)) {
        const LRESULT length = SendMessageA(list_.handle, LB_GETTEXTLEN, 0, 0);
        if (length == LB_ERR)
            break;
        HeapArray<char> line;
        if (!line.allocate(static_cast<SIZE_T>(length) + 1))
            break;
        SendMessageA(list_.handle, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line.get()));
        fileNameFromPath(line.get(), name, sizeof name, programLeadBytes());
        const int found = window_.catalogue.findEntryByName(name) ? window_.catalogue.matchIndex : -1;
        // Only a program fetched whole and checked in this run, still held, is copied.
        if (found >= 0 && window_.catalogue.entries[found].downloaded &&
            programs[found].heldFile() != INVALID_HANDLE_VALUE) {
            // Asked before the replacement, which gives the path a new file.
            const bool running = isRunningProgram(line.get());
            const ListedCopy *kept = window_.listedCopies.find(SendMessageA(list_.handle, LB_GETITEMDATA, 0, 0));
            if (replaceListedCopy(window_, programs[found], window_.catalogue.entries[found], line.get(), kept) &&
                running)
                replacedRunningProgram = true;
        } else {
            window_.showWarning(CantReplaceThisFile, line.get());
        }
        if (windowDestroyed(window_.handle))
            break;
        SendMessageA(list_.handle, LB_DELETESTRING, 0, 0);
    }

    // The downloads and their folder go before the user is told it is done.
    for (ProgramSink &program : programs)
        program.drop();
    folder.remove();
    if (windowDestroyed(window_.handle))
        return 1;
    statusBar_.setPaneText(0, "Done");
    if (replacedRunningProgram) {
        char text[100];
        loadMessageText(KestrelUpdated, text, sizeof text);
        window_.showInformation(text, MessageCaption);
    }
    return 1;
}
