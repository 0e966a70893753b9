#include "catalogue/Catalogue.h"
#include "catalogue/ProgramFinder.h"
#include "tests/harness/PaneText.h"
#include "tests/harness/TestFiles.h"
#include "toolkit/ProgramListBox.h"
#include "toolkit/StatusBar.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Creates every missing folder of path.
void makeFolders(const std::string &path)
{
    for (std::size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
        CreateDirectoryW(longPath(path.substr(0, at)).c_str(), nullptr);
        if (at == std::string::npos)
            break;
    }
}

// Puts a copy of fixture program Y:\<fixture>.exe at path.
void placeProgram(const std::string &fixture, const std::string &path)
{
    makeFolders(path.substr(0, path.rfind('\\')));
    ASSERT_TRUE(CopyFileW(longPath("Y:\\" + fixture + ".exe").c_str(), longPath(path).c_str(), TRUE))
        << fixture << " -> " << path;
}

int dispatchedAppMessages = 0;

LRESULT CALLBACK countingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++dispatchedAppMessages;
    return DefWindowProcA(window, message, wParam, lParam);
}

void setEntry(CatalogueEntry &entry, const char *fileName, std::int32_t a, std::int32_t b,
              std::int32_t c, std::int32_t d)
{
    std::strcpy(entry.fileName, fileName);
    entry.version[0] = a;
    entry.version[1] = b;
    entry.version[2] = c;
    entry.version[3] = d;
}

// Runs on a clock the test sets: each folder it enters comes step
// microseconds after the one before. Asks to quit while it looks at the
// first file, as a user closing the window would.
class QuittingFinder : public ProgramFinder {
public:
    std::uint64_t step = 0;

protected:
    int onEnterFolder(const WIN32_FIND_DATAA &found) override
    {
        clock_ += step;
        return ProgramFinder::onEnterFolder(found);
    }
    int onFile(const WIN32_FIND_DATAA &found) override
    {
        int result = ProgramFinder::onFile(found);
        if (!quitPosted_)
            PostQuitMessage(4);
        quitPosted_ = true;
        return result;
    }
    std::uint64_t microsecondsNow() override { return clock_; }

private:
    std::uint64_t clock_ = 0;
    bool quitPosted_ = false;
};

// A window with the real list and status bar, a small catalogue, and the
// finder wired to them as the program wires its globals.
class ProgramFinderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = countingWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ProgramFinderTestWindow";
        RegisterClassA(&windowClass);
        window.handle = CreateWindowExA(0, windowClass.lpszClassName, "Finder test", WS_OVERLAPPEDWINDOW,
                                        0, 0, 600, 400, nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window.handle, nullptr);
        ASSERT_EQ(list.create(window.handle, 0, "", 0, 0, 600, 300), 1);
        ASSERT_EQ(statusBar.allocatePanes(2), 1);
        statusBar.addPane(-1, 0);
        statusBar.addPane(12, 0);
        ASSERT_EQ(statusBar.createStatus(window.handle), 1);

        ASSERT_TRUE(catalogue.allocateEntries());
        setEntry(catalogue.entries[0], "Sample.exe", 1, 2, 0, 7);
        setEntry(catalogue.entries[1], "Tool.exe", 1, 2, 0, 7);
        setEntry(catalogue.entries[2], "Big.exe", 1, 65536 + 2, 0, 7);
        setEntry(catalogue.entries[3], "Unused.exe", 1, 2, 0, 7);
        catalogue.entryCount = 4;
        finder.attach(catalogue, list, statusBar);
    }

    void TearDown() override
    {
        catalogue.freeEntries();
        DestroyWindow(window.handle);
    }

    std::vector<std::string> listed()
    {
        std::vector<std::string> lines;
        int count = static_cast<int>(SendMessageA(list.handle, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char line[MAX_PATH + 1] = {};
            SendMessageA(list.handle, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
            lines.push_back(line);
        }
        return lines;
    }

    std::vector<int> flagged()
    {
        std::vector<int> indexes;
        for (int i = 0; i < catalogue.entryCount; ++i)
            if (catalogue.entries[i].needsUpdate)
                indexes.push_back(i);
        return indexes;
    }

    WindowObject window;
    ProgramListBox list;
    StatusBar statusBar;
    Catalogue catalogue{window};
    ProgramFinder finder;
};

} // namespace

TEST_F(ProgramFinderTest, ListsTheMakersCopiesWhoseVersionDiffers)
{
    struct Case {
        const char *fixture;
        bool listed;
    };
    const Case cases[] = {
        {"corvel-older", true},     {"corvel-newer", true},      {"corvel-current", false},
        {"company-upper", true},    {"company-the", true},       {"company-corvelo", true},
        {"maker-elsewhere", false}, {"other-language", false},   {"no-company", false},
        {"no-version", false},
    };
    std::vector<std::string> expected;
    for (const Case &c : cases) {
        std::string path = std::string("D:\\Makers\\") + c.fixture + "\\Sample.exe";
        placeProgram(c.fixture, path);
        if (c.listed)
            expected.push_back(path);
    }
    placeProgram("corvel-older", "D:\\Makers\\other\\Other.exe");

    EXPECT_EQ(finder.search("D:\\Makers\\", "*.exe", 16, 0), 0);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> lines = listed();
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(flagged(), std::vector<int>{0});
}

TEST_F(ProgramFinderTest, MatchesNamesInAnyLetterCase)
{
    placeProgram("corvel-older", "D:\\Case\\SAMPLE.EXE");
    placeProgram("corvel-older", "D:\\Case\\sub\\tool.Exe");
    EXPECT_EQ(finder.search("D:\\Case\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(listed(), (std::vector<std::string>{"D:\\Case\\SAMPLE.EXE", "D:\\Case\\sub\\tool.Exe"}));
    EXPECT_EQ(flagged(), (std::vector<int>{0, 1}));
}

TEST_F(ProgramFinderTest, ListsEveryOutdatedCopyAndFlagsTheEntryOnce)
{
    placeProgram("corvel-older", "D:\\Copies\\a\\Tool.exe");
    placeProgram("corvel-newer", "D:\\Copies\\b\\Tool.exe");
    placeProgram("corvel-current", "D:\\Copies\\c\\Tool.exe");
    // A catalogue part above 65535 equals no installed version.
    placeProgram("corvel-current", "D:\\Copies\\a\\Big.exe");
    placeProgram("corvel-current", "D:\\Copies\\c\\Big.exe");
    EXPECT_EQ(finder.search("D:\\Copies\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(listed(), (std::vector<std::string>{"D:\\Copies\\a\\Big.exe", "D:\\Copies\\a\\Tool.exe",
                                                  "D:\\Copies\\b\\Tool.exe", "D:\\Copies\\c\\Big.exe"}));
    EXPECT_EQ(flagged(), (std::vector<int>{1, 2}));
    EXPECT_EQ(catalogue.entries[1].needsUpdate, 1);
}

TEST_F(ProgramFinderTest, SkipsAFileWhosePathExceedsThePlatformLimit)
{
    // "D:\LongName\" + folder + "\" + "Sample.exe": 259 characters with a
    // 236-character folder, 260 with a 237-character one.
    const std::string fits = "D:\\LongName\\" + std::string(236, 'f') + "\\Sample.exe";
    const std::string tooLong = "D:\\LongName\\" + std::string(237, 't') + "\\Sample.exe";
    ASSERT_EQ(fits.size(), 259u);
    placeProgram("corvel-older", fits);
    placeProgram("corvel-older", tooLong);
    EXPECT_EQ(finder.search("D:\\LongName\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(listed(), std::vector<std::string>{fits});
}

TEST_F(ProgramFinderTest, ShowsTheFolderItComesBackToInPaneZero)
{
    placeProgram("corvel-current", "D:\\Pane\\sub\\Sample.exe");
    EXPECT_EQ(finder.search("D:\\Pane\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(paneText(statusBar.handle, 0), "D:\\Pane\\");
}

TEST_F(ProgramFinderTest, DispatchesWaitingMessagesAndStopsForAWaitingQuit)
{
    placeProgram("corvel-older", "D:\\Quit\\Sample.exe");

    PostMessageA(window.handle, WM_APP, 0, 0);
    dispatchedAppMessages = 0;
    EXPECT_EQ(finder.search("D:\\Quit\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(dispatchedAppMessages, 1);
    SendMessageA(list.handle, LB_RESETCONTENT, 0, 0);

    PostQuitMessage(3);
    EXPECT_EQ(finder.search("D:\\Quit\\", "*.exe", 16, 0), 1);
    EXPECT_TRUE(listed().empty());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
}

TEST_F(ProgramFinderTest, AQuitArrivingDuringTheSearchStopsItWithinThePumpInterval)
{
    const std::vector<std::string> chain = {"D:\\LateQuit\\Sample.exe", "D:\\LateQuit\\A\\Tool.exe",
                                            "D:\\LateQuit\\A\\B\\Tool.exe", "D:\\LateQuit\\A\\B\\C\\Tool.exe",
                                            "D:\\LateQuit\\A\\B\\C\\D\\Tool.exe"};
    for (const std::string &path : chain)
        placeProgram("corvel-older", path);
    struct Case {
        std::uint64_t step;
        std::size_t listed;  // the copies found before the search stopped
    } cases[] = {
        // The pump at the root lets nothing through yet; the next one comes
        // at the first folder entered a whole interval later...
        {ProgramFinder::PumpInterval, 1},
        {ProgramFinder::PumpInterval * 2 / 5, 3},
        // ...or, where the search is over sooner, when it ends.
        {0, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        SendMessageA(list.handle, LB_RESETCONTENT, 0, 0);
        QuittingFinder quitting;
        quitting.attach(catalogue, list, statusBar);
        quitting.step = c.step;
        EXPECT_EQ(quitting.search("D:\\LateQuit\\", "*.exe", 16, 0), 1);
        std::vector<std::string> found = listed(), expected(chain.begin(), chain.begin() + c.listed);
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
        MSG message;
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    }
}
