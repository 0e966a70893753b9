#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/WindowParts.h"
#include "catalogue/ProgramFinder.h"
#include "net/ProgressDownloader.h"
#include "tests/harness/ImportOverride.h"
#include "tests/harness/MessageBoxCatcher.h"
#include "tests/harness/PaneText.h"
#include "tests/harness/TestFiles.h"
#include "tests/harness/WindowTearDown.h"
#include "tests/win/net/MakerFolder.h"
#include "toolkit/ButtonBar.h"
#include "toolkit/Dialog.h"
#include "toolkit/ProgramListBox.h"
#include "toolkit/StatusBar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A download object on a clock that makes every repaint and pump due, which
// can close the main window once the first bytes of a fetch have arrived, as
// a click on the close box during a download does.
class ClosingDownloader : public ProgressDownloader {
public:
    int onProgress() override
    {
        if (closeWhileReceiving && totalBytes > 0 && IsWindow(window))
            SendMessageA(window, WM_CLOSE, 0, 0);
        return ProgressDownloader::onProgress();
    }
    HWND window = nullptr;
    bool closeWhileReceiving = false;

protected:
    std::uint64_t microsecondsNow() override { return now_ += 1000000; }

private:
    std::uint64_t now_ = 0;
};

std::string temporaryFile(const char *name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// The folders an Update made for its downloads ("K" and a number) still in
// the temporary folder.
int updateFoldersLeft()
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(temporaryFile("K*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            name.find_first_not_of("0123456789", 1) == std::string::npos)
            ++count;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

// The main window and its commands over objects of the test's own, set up as
// the program starts: Start enabled, Update disabled.
class CommandRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(maker::available()) << "the maker's server fixture is not running";
        maker::setBehaviour("{}");
        addStatusPanes(status);
        registerProgressWindowClass();
        ASSERT_TRUE(window.createFrame());
        ASSERT_TRUE(addCommandButtons(bar));
        window.initialiseContents();
        downloader.window = window.handle;
        CreateDirectoryA("D:\\apps", nullptr);
    }
    void TearDown() override { destroyAndDrain(window.handle); }

    // What a scan leaves for Update: a flagged entry for each name, version
    // 1.2.0.7, and the given list lines.
    void afterScan(std::initializer_list<const char *> names, std::initializer_list<const char *> lines)
    {
        Catalogue &catalogue = window.catalogue;
        for (const char *name : names) {
            CatalogueEntry &entry = catalogue.entries[catalogue.entryCount++];
            std::strcpy(entry.fileName, name);
            entry.fileTime = {0, 0x01C39300};
            const std::int32_t version[4] = {1, 2, 0, 7};
            std::memcpy(entry.version, version, sizeof version);
            entry.needsUpdate = 1;
        }
        SendMessageA(list.handle, LB_RESETCONTENT, 0, 0);
        for (const char *line : lines) {
            writeFile(line, "old program");
            ListedCopy copy{};
            ListedCopies::identify("D:\\apps\\", line, copy);
            const LRESULT index = SendMessageA(list.handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
            SendMessageA(list.handle, LB_SETITEMDATA, index, window.listedCopies.add(copy));
        }
        bar.enableButton(CommandStart, 0);
        bar.enableButton(CommandUpdate, 1);
    }

    // After the window was closed while fetching name: the fetch had begun,
    // no message came and its file is gone.
    void expectEndedSilently(const char *name)
    {
        EXPECT_NE(maker::lastRequestLine().find(std::string("/Utils/") + name), std::string::npos);
        EXPECT_FALSE(IsWindow(downloader.window));
        EXPECT_FALSE(maker::exists(temporaryFile(name)));
        EXPECT_EQ(updateFoldersLeft(), 0);
        EXPECT_TRUE(boxes.boxes().empty());
    }

    ProgramListBox list;
    ButtonBar bar;
    StatusBar status;
    ProgramFinder finder;
    ClosingDownloader downloader;
    Dialog aboutBox;
    MainWindow window{list, bar, status, finder, downloader, aboutBox};
    MessageBoxCatcher boxes;
};

// Closing the window during a fetch frees the entries and destroys the list:
// the command must end without a word and remove the file it was fetching,
// which the window's own clean-up could not.
TEST_F(CommandRun, ClosingTheWindowDuringTheCatalogueFetchEndsTheScanSilently)
{
    maker::serve("Kestrel.ini", maker::bytes(200000));
    downloader.closeWhileReceiving = true;

    EXPECT_EQ(window.runScan(), 0);
    expectEndedSilently("Kestrel.ini");
}

TEST_F(CommandRun, ClosingTheWindowDuringAProgramFetchEndsTheUpdateSilently)
{
    maker::serve("Sample.exe", maker::bytes(200000));
    afterScan({"Sample.exe"}, {"D:\\apps\\Sample.exe"});
    downloader.closeWhileReceiving = true;

    EXPECT_EQ(window.runUpdate(), 1);
    expectEndedSilently("Sample.exe");
    EXPECT_EQ(readFile("D:\\apps\\Sample.exe"), "old program");
}

TEST_F(CommandRun, UpdateReplacesOnlyFromFilesFetchedInThisRun)
{
    // Missing.exe is not on the server, and the remains of an earlier fetch
    // lie in the temporary folder under its name; Stray.exe has no entry.
    maker::serve("Fetched.exe", readFile("Y:\\corvel-current.exe"));
    const std::string stale = temporaryFile("Missing.exe");
    writeFile(stale, readFile("Y:\\corvel-current.exe"));
    afterScan({"Fetched.exe", "Missing.exe"},
              {"D:\\apps\\Stray.exe", "D:\\apps\\Missing.exe", "D:\\apps\\Fetched.exe"});

    EXPECT_EQ(window.runUpdate(), 1);

    // Compared whole, not printed: the files are programs.
    EXPECT_TRUE(readFile("D:\\apps\\Fetched.exe") == readFile("Y:\\corvel-current.exe"));
    EXPECT_EQ(readFile("D:\\apps\\Missing.exe"), "old program");
    EXPECT_EQ(readFile("D:\\apps\\Stray.exe"), "old program");
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_NE(boxes.boxes()[0].caption.find("/Utils/Missing.exe"), std::string::npos);
    EXPECT_EQ(boxes.boxes()[1].text, "Can't replace this file");
    EXPECT_EQ(boxes.boxes()[1].caption, "D:\\apps\\Missing.exe");
    EXPECT_EQ(boxes.boxes()[2].text, "Can't replace this file");
    EXPECT_EQ(boxes.boxes()[2].caption, "D:\\apps\\Stray.exe");
    EXPECT_EQ(SendMessageA(list.handle, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(paneText(status.handle, 0), "Done");
    EXPECT_FALSE(maker::exists(temporaryFile("Fetched.exe")));
    EXPECT_EQ(updateFoldersLeft(), 0);
    DeleteFileA(stale.c_str());
}

// Wine always sets the held download's date: the failure is made here. The
// user is told, with the download's path, and the program is replaced all the
// same, its copy keeping the times it has.
TEST_F(CommandRun, AFailedStampIsReportedAndTheProgramStillReplaced)
{
    maker::serve("Fetched.exe", readFile("Y:\\corvel-current.exe"));
    afterScan({"Fetched.exe"}, {"D:\\apps\\Fetched.exe"});
    ImportOverride stampFails("kernel32.dll", "SetFileTime",
                              reinterpret_cast<void *>(+[](HANDLE, const FILETIME *, const FILETIME *,
                                                           const FILETIME *) -> BOOL { return FALSE; }));
    ASSERT_TRUE(stampFails.active());

    EXPECT_EQ(window.runUpdate(), 1);

    EXPECT_TRUE(readFile("D:\\apps\\Fetched.exe") == readFile("Y:\\corvel-current.exe"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Error saving date");
    EXPECT_EQ(boxes.boxes()[0].caption.find(temporaryFile("K")), 0u);
    EXPECT_NE(boxes.boxes()[0].caption.find("\\Fetched.exe"), std::string::npos);
}

// InternetOpenA never fails under Wine: the failure is made here. Start
// decides on this run's own result, whatever an earlier fetch left.
TEST_F(CommandRun, AStartWithoutASessionSaysSoWhateverTheLastFetchLeft)
{
    downloader.status = DownloadTooLarge;
    ImportOverride openFails("wininet.dll", "InternetOpenA",
                             reinterpret_cast<void *>(+[](LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) -> HINTERNET {
                                 return nullptr;
                             }));
    ASSERT_TRUE(openFails.active());

    EXPECT_EQ(window.runScan(), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Failed to retrieve version information");
}

} // namespace
