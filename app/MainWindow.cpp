#include "app/MainWindow.h"

#include <cstring>

#include "app/AboutDialog.h"
#include "app/CommandIds.h"
#include "app/FetchSettings.h"
#include "catalogue/ProgramFinder.h"
#include "net/core/ReplaceFileName.h"
#include "resources/MessageCaption.h"
#include "toolkit/CentreWindow.h"
#include "toolkit/FileByHandle.h"
#include "toolkit/CodePage.h"
#include "toolkit/GdiHandles.h"
#include "toolkit/ProgramInstance.h"
#include "toolkit/ProgramListBox.h"
#include "toolkit/StatusBar.h"

const char UpdateFolderUrl[] = KESTREL_UPDATE_FOLDER_URL;
const char CatalogueKey[] = KESTREL_CATALOGUE_KEY;
const char TemporaryFolderUnusable[] = "The temporary folder cannot be used.";
const char InvalidPolicyFolder[] = "The update folder set by your administrator is not a valid address.";

namespace {
const char DrivesLineStart[] = "Drives to be scanned:  ";
const char AddressLineStart[] = "Internet source location:  ";
constexpr int InformationLineSize = 100;
}

MainWindow::MainWindow(ProgramListBox &list, ButtonBar &buttonBar, StatusBar &statusBar, ProgramFinder &finder,
                       ProgressDownloader &downloader, Dialog &aboutBox)
    : catalogue(*this), listedCopies(finder.listedCopies()), list_(list), buttonBar_(buttonBar), statusBar_(statusBar), aboutBox_(aboutBox),
      scan_(*this, list, buttonBar, statusBar, finder, downloader),
      update_(*this, list, buttonBar, statusBar, downloader)
{
    std::strcpy(updateFolder.url, UpdateFolderUrl);
    updateFolder.valid = true;
    finder.attach(catalogue, list, statusBar);
}

bool MainWindow::createFrame()
{
    return FrameWindow::createFrame(list_, buttonBar_, statusBar_);
}

int MainWindow::runScan()
{
    return scan_.run();
}

int MainWindow::runUpdate()
{
    return update_.run();
}

void MainWindow::adjustClass(WNDCLASSA &windowClass)
{
    windowClass.hIcon = LoadIconA(programInstance(), MAKEINTRESOURCEA(IconId));
}

void MainWindow::adjustCreateParams(CREATESTRUCTA &params)
{
    params.lpszName = Title;
}

// A button and its accelerator differ only in the notification code, which
// is ignored along with lParam.
void MainWindow::onCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case CommandExit:
        if (canClose())
            destroy();
        break;
    case CommandStart:
        runScan();
        break;
    case CommandUpdate:
        runUpdate();
        break;
    case CommandAbout:
        showAbout();
        break;
    }
}

// The scan loads the catalogue into the entry block, so a window without it
// is not created at all.
int MainWindow::onCreate()
{
    int result = FrameWindow::onCreate();
    if (!catalogue.allocateEntries())
        return 0;
    centreWindow(handle);
    return result;
}

HBRUSH MainWindow::onCtlColorListBox(WPARAM, LPARAM)
{
    return list_.background;
}

void MainWindow::onDestroy()
{
    removeTemporaryCatalogue();
    catalogue.freeEntries();
}

void MainWindow::onDrawItem(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<int>(wParam) == list_.id)
        list_.drawItem(reinterpret_cast<DRAWITEMSTRUCT *>(lParam));
}

// The frame itself shows nothing; the list is repainted whole with it.
void MainWindow::onPaint()
{
    {
        PaintCycle paint(handle);
    }
    InvalidateRect(list_.handle, nullptr, TRUE);
}

int MainWindow::showAbout()
{
    return static_cast<int>(DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(AboutDialog::TemplateId),
                                            handle, Dialog::dialogThunk,
                                            reinterpret_cast<LPARAM>(&aboutBox_)));
}

void MainWindow::showFileCount()
{
    char text[20];
    formatFileCount(static_cast<long>(SendMessageA(list_.handle, LB_GETCOUNT, 0, 0)), text, sizeof text);
    statusBar_.setPaneText(1, text);
}

void MainWindow::initialiseContents()
{
    char drivesLine[InformationLineSize];
    char addressLine[InformationLineSize];
    std::strcpy(drivesLine, DrivesLineStart);
    std::strcpy(addressLine, AddressLineStart);

    unsigned lineHeight = FallbackLineHeight;
    {
        DeviceContextOwner display(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
        TEXTMETRICA metrics{};
        if (display && GetTextMetricsA(display.get(), &metrics))
            lineHeight = listLineHeight(metrics.tmHeight, metrics.tmExternalLeading);
    }
    SendMessageA(list_.handle, LB_SETITEMHEIGHT, 0, lineHeight);

    findFixedDrives();

    updateFolder = readUpdateFolder(UpdateFolderUrl);
    std::strncat(addressLine, updateFolder.url, sizeof addressLine - std::strlen(addressLine) - 1);
    SendMessageA(list_.handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(addressLine));
    appendDriveLetters(drivesLine, sizeof drivesLine, fixedDrive);
    SendMessageA(list_.handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drivesLine));

    // GetTempPathA leaves the buffer alone when the folder does not fit it;
    // the zero-filled block then stays an empty path.
    if (tempPathBlock_.allocate(GMEM_FIXED | GMEM_ZEROINIT, PathBufferSize)) {
        tempPath = static_cast<char *>(tempPathBlock_.get());
        DWORD length = GetTempPathA(MAX_PATH, tempPath);
        tempFolderUsable_ = length < MAX_PATH && temporaryFolderFits(length, PathBufferSize);
        if (!tempFolderUsable_)
            tempPath[0] = '\0';
    }
}

void MainWindow::findFixedDrives()
{
    char root[4];
    for (int index = FirstSearchedDrive; index < DriveCount; ++index) {
        driveRoot(index, root);
        fixedDrive[index] = GetDriveTypeA(root) == DRIVE_FIXED ? 1 : 0;
    }
}

bool MainWindow::mayStart(int command)
{
    return !commandRunning && buttonBar_.isButtonEnabled(command) && temporaryFolderUsable();
}

void MainWindow::keepTemporaryCatalogue(const FileIdentity &identity)
{
    temporaryCatalogue_ = identity;
    temporaryCatalogueKept_ = true;
}

void MainWindow::removeTemporaryCatalogue()
{
    if (temporaryCatalogueKept_ && tempFolderUsable_ && replaceFileName(tempPath, PathBufferSize, CatalogueFileName, programLeadBytes()))
        removeIfStill(tempPath, temporaryCatalogue_);
    temporaryCatalogueKept_ = false;
}

bool MainWindow::temporaryFolderUsable()
{
    if (tempFolderUsable_)
        return true;
    reportTemporaryFolderUnusable();
    return false;
}

void MainWindow::reportTemporaryFolderUnusable()
{
    temporaryFolderFailed = true;
    showWarning(TemporaryFolderUnusable, MessageCaption);
}

bool MainWindow::updateFolderUsable()
{
    if (updateFolder.valid)
        return true;
    showWarning(InvalidPolicyFolder, MessageCaption);
    return false;
}
