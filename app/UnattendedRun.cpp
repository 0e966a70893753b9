#include "app/UnattendedRun.h"

#include "app/CommandIds.h"
#include "app/FetchSettings.h"
#include "app/MainWindow.h"
#include "app/RunLog.h"
#include "catalogue/MakersProgram.h"
#include "catalogue/TextFileReader.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/VersionNumber.h"
#include "net/core/ReplaceFileName.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/CodePage.h"
#include "toolkit/HeapArray.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/TextWriter.h"

#include <cstring>

namespace {

constexpr int VersionTextSize = 48;

void formatCatalogueVersion(const std::int32_t *version, char *out)
{
    formatVersion(static_cast<std::uint32_t>(version[0]), static_cast<std::uint32_t>(version[1]),
                  static_cast<std::uint32_t>(version[2]), static_cast<std::uint32_t>(version[3]), out,
                  VersionTextSize);
}

} // namespace

UnattendedRun::UnattendedRun(MainWindow &window, ListBoxControl &list, ButtonBar &buttonBar, RunLog &log)
    : window_(window), list_(list), buttonBar_(buttonBar), log_(log)
{
}

int UnattendedRun::run(RunMode mode)
{
    RunOutcome outcome;
    outcome.started = window_.runScan() == 1;
    if (outcome.started) {
        logCatalogue();
        // The list holds "Nothing to update." when Start found nothing.
        if (buttonBar_.isButtonEnabled(CommandUpdate))
            outcome.outdated = logOutdatedCopies();
    }
    if (mode == RunMode::Update && outcome.outdated > 0) {
        // The list empties as the Update goes; its paths are kept to see
        // afterwards which copies carry the new version.
        HeapArray<char> paths;
        if (paths.allocate(static_cast<SIZE_T>(outcome.outdated) * MAX_PATH)) {
            for (long index = 0; index < outcome.outdated; ++index) {
                char *path = paths.get() + index * MAX_PATH;
                if (SendMessageA(list_.handle, LB_GETTEXTLEN, index, 0) >= MAX_PATH ||
                    SendMessageA(list_.handle, LB_GETTEXT, index, reinterpret_cast<LPARAM>(path)) == LB_ERR)
                    path[0] = '\0';
            }
        }
        window_.runUpdate();
        outcome.temporaryFolderFailed = window_.temporaryFolderFailed;
        if (paths.get())
            outcome.replaced = logReplacedCopies(paths.get(), outcome.outdated);
    }
    return unattendedExitCode(mode, outcome);
}

void UnattendedRun::logCatalogue()
{
    char url[Downloader::UrlBufferSize];
    std::strcpy(url, window_.updateFolder.url);
    replaceFileName(url, sizeof url, CatalogueFileName, programLeadBytes());

    // The issue time is read again from the catalogue Start kept; it is
    // part of the signed bytes, before the signature.
    char issued[IssueTimeLength + 1] = "none";
    TextFileReader reader;
    char catalogue[PathBufferSize];
    std::strcpy(catalogue, window_.tempPath);
    if (replaceFileName(catalogue, sizeof catalogue, CatalogueFileName, programLeadBytes()) &&
        reader.openFile(catalogue, TextFileReader::MaxFileSize)) {
        const CatalogueIssued read = readCatalogueIssued(reader.data(), reader.dataSize);
        if (read.status == IssuedStatus::Readable)
            formatIssueTime(read.time, issued);
    }
    char event[RunLog::LineSize];
    TextWriter(event, sizeof event)
        .text("catalogue used: ")
        .text(url)
        .text(", issued ")
        .text(issued)
        .text(", ")
        .number(window_.catalogue.entryCount)
        .text(" programs");
    log_.write(event);
}

bool UnattendedRun::versions(const char *path, const std::int32_t *&catalogue, std::int32_t (&installed)[4])
{
    char name[FileNameFieldSize];
    fileNameFromPath(path, name, sizeof name, programLeadBytes());
    if (!window_.catalogue.findEntryByName(name))
        return false;
    catalogue = window_.catalogue.entries[window_.catalogue.matchIndex].version;
    return readMakersVersion(path, installed);
}

long UnattendedRun::logOutdatedCopies()
{
    const long count = static_cast<long>(SendMessageA(list_.handle, LB_GETCOUNT, 0, 0));
    for (long index = 0; index < count; ++index) {
        char path[MAX_PATH];
        if (SendMessageA(list_.handle, LB_GETTEXTLEN, index, 0) >= MAX_PATH ||
            SendMessageA(list_.handle, LB_GETTEXT, index, reinterpret_cast<LPARAM>(path)) == LB_ERR)
            continue;
        const std::int32_t *catalogue = nullptr;
        std::int32_t installed[4];
        char installedText[VersionTextSize] = "unknown";
        char catalogueText[VersionTextSize] = "unknown";
        if (versions(path, catalogue, installed))
            formatCatalogueVersion(installed, installedText);
        if (catalogue)
            formatCatalogueVersion(catalogue, catalogueText);
        char event[RunLog::LineSize];
        TextWriter(event, sizeof event)
            .text("outdated: ")
            .text(path)
            .text(", version ")
            .text(installedText)
            .text(", catalogue's ")
            .text(catalogueText);
        log_.write(event);
    }
    return count > 0 ? count : 0;
}

long UnattendedRun::logReplacedCopies(const char *paths, long count)
{
    long replaced = 0;
    for (long index = 0; index < count; ++index) {
        const char *path = paths + index * MAX_PATH;
        const std::int32_t *catalogue = nullptr;
        std::int32_t installed[4];
        if (path[0] == '\0' || !versions(path, catalogue, installed) || !sameVersion(installed, catalogue))
            continue;
        char event[RunLog::LineSize];
        TextWriter(event, sizeof event).text("replaced: ").text(path);
        log_.write(event);
        ++replaced;
    }
    return replaced;
}
