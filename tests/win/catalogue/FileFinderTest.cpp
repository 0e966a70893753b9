#include "catalogue/FileFinder.h"
#include "tests/harness/TestFiles.h"
#include "toolkit/KernelHandles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void makeFolder(const std::string &path, DWORD attributes = 0)
{
    ASSERT_TRUE(CreateDirectoryW(longPath(path).c_str(), nullptr)) << path;
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesW(longPath(path).c_str(), attributes)) << path;
    }
}

void makeFile(const std::string &path, DWORD attributes = 0)
{
    HANDLE file = CreateFileW(longPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesW(longPath(path).c_str(), attributes)) << path;
    }
}

// Records every hook call as text; returns non-zero from the call equal to stopAt.
class RecordingFinder : public FileFinder {
public:
    std::vector<std::string> calls;
    std::string stopAt;

    std::vector<std::string> files() const
    {
        std::vector<std::string> found;
        for (const std::string &call : calls)
            if (call.compare(0, 5, "file ") == 0)
                found.push_back(call.substr(5));
        std::sort(found.begin(), found.end());
        return found;
    }

protected:
    void onBackInFolder() override { record("back " + std::string(folder)); }
    int onFile(const WIN32_FIND_DATAA &found) override
    {
        return record("file " + std::string(folder) + found.cFileName);
    }
    int onEnterFolder(const WIN32_FIND_DATAA &found) override
    {
        return record("enter " + std::string(folder) + " " + std::to_string(depth) + " "
                      + found.cFileName);
    }
    int onSubfolder(const WIN32_FIND_DATAA &found) override
    {
        return record("sub " + std::string(folder) + found.cFileName);
    }

private:
    int record(const std::string &call)
    {
        calls.push_back(call);
        return call == stopAt;
    }
};

// D:\Chain\ with one subfolder per level, so the platform's listing order
// cannot change the order of the calls. Built once per test program run.
void makeChain()
{
    if (GetFileAttributesA("D:\\Chain") != INVALID_FILE_ATTRIBUTES)
        return;
    makeFolder("D:\\Chain");
    makeFile("D:\\Chain\\top.exe");
    makeFolder("D:\\Chain\\A");
    makeFile("D:\\Chain\\A\\mid.exe");
    makeFile("D:\\Chain\\A\\notes.txt");
    makeFolder("D:\\Chain\\A\\B");
    makeFile("D:\\Chain\\A\\B\\low.exe");
}

const std::vector<std::string> chainCalls = {
    "enter D:\\Chain\\ 0 ",
    "file D:\\Chain\\top.exe",
    "sub D:\\Chain\\A",
    "enter D:\\Chain\\A\\ 1 A",
    "file D:\\Chain\\A\\mid.exe",
    "sub D:\\Chain\\A\\B",
    "enter D:\\Chain\\A\\B\\ 2 B",
    "file D:\\Chain\\A\\B\\low.exe",
    "back D:\\Chain\\A\\",
    "back D:\\Chain\\",
};

} // namespace

TEST(FileFinder, EmptyRootIsEnteredOnceAndSearchedToTheEnd)
{
    makeFolder("D:\\Empty");
    RecordingFinder finder;
    EXPECT_EQ(finder.search("D:\\Empty\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(finder.calls, std::vector<std::string>{"enter D:\\Empty\\ 0 "});
}

TEST(FileFinder, CallsHooksDepthFirstFilesBeforeSubfolders)
{
    makeChain();
    RecordingFinder finder;
    EXPECT_EQ(finder.search("D:\\Chain\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(finder.calls, chainCalls);
}

TEST(FileFinder, StopByAnyHookEndsTheSearchAtOnce)
{
    makeFolder("D:\\Stop");
    makeFile("D:\\Stop\\top.exe");
    makeFolder("D:\\Stop\\A");
    makeFile("D:\\Stop\\A\\mid.exe");
    makeFolder("D:\\Stop\\A\\B");
    RecordingFinder full;
    ASSERT_EQ(full.search("D:\\Stop\\", "*.exe", 16, 0), 0);

    for (std::size_t i = 0; i < full.calls.size(); ++i) {
        if (full.calls[i].compare(0, 5, "back ") == 0)
            continue;
        SCOPED_TRACE(full.calls[i]);
        RecordingFinder finder;
        finder.stopAt = full.calls[i];
        EXPECT_EQ(finder.search("D:\\Stop\\", "*.exe", 16, 0), 1);
        EXPECT_EQ(finder.calls, std::vector<std::string>(full.calls.begin(), full.calls.begin() + i + 1));

        // The stopped search leaves nothing behind that a new one would trip over.
        finder.calls.clear();
        finder.stopAt.clear();
        EXPECT_EQ(finder.search("D:\\Stop\\", "*.exe", 16, 0), 0);
        EXPECT_EQ(finder.calls, full.calls);
    }
}

TEST(FileFinder, BackInFolderIgnoresTheHookResult)
{
    makeChain();
    RecordingFinder finder;
    finder.stopAt = "back D:\\Chain\\A\\";
    EXPECT_EQ(finder.search("D:\\Chain\\", "*.exe", 16, 0), 0);
    EXPECT_EQ(finder.calls, chainCalls);
}

TEST(FileFinder, RootWithoutTrailingBackslashIsSearchedAsAFolder)
{
    makeChain();
    RecordingFinder finder;
    EXPECT_EQ(finder.search("D:\\Chain", "*.exe", 16, 0), 0);
    EXPECT_EQ(finder.calls, chainCalls);
}

TEST(FileFinder, ChoosesFilesAndFoldersByNameAndAttributes)
{
    makeFolder("D:\\Mix");
    makeFile("D:\\Mix\\plain.exe");
    makeFile("D:\\Mix\\SAMPLE.EXE");
    makeFile("D:\\Mix\\hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    makeFile("D:\\Mix\\system.exe", FILE_ATTRIBUTE_SYSTEM);
    makeFile("D:\\Mix\\readme.txt");
    makeFile("D:\\Mix\\exe");
    makeFolder("D:\\Mix\\tool.exe");
    makeFile("D:\\Mix\\tool.exe\\inside.exe");
    makeFolder("D:\\Mix\\Hidden", FILE_ATTRIBUTE_HIDDEN);
    makeFile("D:\\Mix\\Hidden\\h.exe");
    makeFolder("D:\\Mix\\.cache");
    makeFile("D:\\Mix\\.cache\\c.exe");
    makeFolder("D:\\Mix\\Sys", FILE_ATTRIBUTE_SYSTEM);
    makeFile("D:\\Mix\\Sys\\s.exe");

    struct Case {
        int includeSystemFolders;
        std::vector<std::string> files;
    };
    const std::vector<std::string> always = {
        "D:\\Mix\\Hidden\\h.exe", "D:\\Mix\\SAMPLE.EXE", "D:\\Mix\\hidden.exe",
        "D:\\Mix\\plain.exe",     "D:\\Mix\\system.exe", "D:\\Mix\\tool.exe\\inside.exe",
    };
    std::vector<std::string> withSystem = always;
    withSystem.push_back("D:\\Mix\\Sys\\s.exe");
    std::sort(withSystem.begin(), withSystem.end());
    const Case cases[] = {{0, always}, {1, withSystem}};

    for (const Case &c : cases) {
        SCOPED_TRACE(c.includeSystemFolders);
        RecordingFinder finder;
        EXPECT_EQ(finder.search("D:\\Mix\\", "*.exe", 16, c.includeSystemFolders), 0);
        EXPECT_EQ(finder.files(), c.files);
    }
}

TEST(FileFinder, SearchesDownToMaxDepthLevels)
{
    std::string path = "D:\\Deep";
    makeFolder(path);
    makeFile(path + "\\level0.exe");
    for (int level = 1; level <= 17; ++level) {
        path += "\\L" + std::to_string(level);
        makeFolder(path);
        makeFile(path + "\\level" + std::to_string(level) + ".exe");
    }

    struct Case {
        int maxDepth;
        int deepestFound;
    };
    for (const Case &c : {Case{16, 16}, Case{1, 1}, Case{0, 0}, Case{-1, 0}}) {
        SCOPED_TRACE(c.maxDepth);
        RecordingFinder finder;
        EXPECT_EQ(finder.search("D:\\Deep\\", "*.exe", c.maxDepth, 0), 0);
        std::vector<std::string> found = finder.files();
        ASSERT_EQ(found.size(), static_cast<std::size_t>(c.deepestFound + 1));
        const std::string deepest = "level" + std::to_string(c.deepestFound) + ".exe";
        EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](const std::string &f) {
            return f.size() >= deepest.size() && f.compare(f.size() - deepest.size(), deepest.size(), deepest) == 0;
        }));
    }
}

TEST(FileFinder, MaxDepthZeroLooksAtNoSubfolder)
{
    makeChain();
    RecordingFinder finder;
    EXPECT_EQ(finder.search("D:\\Chain\\", "*.exe", 0, 0), 0);
    EXPECT_EQ(finder.calls, std::vector<std::string>(chainCalls.begin(), chainCalls.begin() + 2));
}

TEST(FileFinder, SkipsSubfoldersTooLongForItsBuffersAndGoesOn)
{
    // D:\Long\<200 a>\ fits; below it <60 b> would make a 268-character folder.
    const std::string fits = "D:\\Long\\" + std::string(200, 'a');
    const std::string tooLong = fits + "\\" + std::string(60, 'b');
    makeFolder("D:\\Long");
    makeFolder(fits);
    makeFile(fits + "\\near.exe");
    makeFolder(tooLong);
    makeFile(tooLong + "\\far.exe");
    makeFolder(tooLong + "\\c");
    makeFolder(fits + "\\z");
    makeFile(fits + "\\z\\sibling.exe");
    makeFolder("D:\\Long\\y");
    makeFile("D:\\Long\\y\\after.exe");

    RecordingFinder finder;
    EXPECT_EQ(finder.search("D:\\Long\\", "*.exe", 16, 0), 0);
    std::vector<std::string> expected = {"D:\\Long\\y\\after.exe", fits + "\\near.exe",
                                         fits + "\\z\\sibling.exe"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(finder.files(), expected);
    for (const std::string &call : finder.calls)
        EXPECT_EQ(call.find(std::string(60, 'b')), std::string::npos) << call;
}

TEST(FileFinder, RootTooLongForItsBuffersIsNotSearched)
{
    RecordingFinder finder;
    EXPECT_EQ(finder.search(("D:\\" + std::string(300, 'r') + "\\").c_str(), "*.exe", 16, 0), 0);
    EXPECT_TRUE(finder.calls.empty());
}

// The harness makes D:\Links\ with Alias (a link to Real beside it),
// Real\Inner\Loop (a link back up to D:\Links\) and Away (a link to drive E:):
// none is entered, so every file is met once, where it lies.
TEST(FileFinder, NeverEntersFolderLinks)
{
    WIN32_FIND_DATAA alias;
    FindHandle listing(FindFirstFileA("D:\\Links\\Alias", &alias));
    ASSERT_TRUE(listing.valid()) << "the harness made no folder links";
    ASSERT_EQ(alias.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    if (GetFileAttributesA("D:\\Links\\Real\\real.exe") == INVALID_FILE_ATTRIBUTES) {
        makeFile("D:\\Links\\Real\\real.exe");
        makeFile("D:\\Links\\Real\\Inner\\inner.exe");
        makeFile("E:\\away.exe");
    }

    for (int includeSystemFolders : {0, 1}) {
        RecordingFinder finder;
        EXPECT_EQ(finder.search("D:\\Links\\", "*.exe", 16, includeSystemFolders), 0);
        EXPECT_EQ(finder.files(),
                  (std::vector<std::string>{"D:\\Links\\Real\\Inner\\inner.exe", "D:\\Links\\Real\\real.exe"}));
        for (const std::string &call : finder.calls)
            for (const char *link : {"Alias", "Loop", "Away"})
                EXPECT_EQ(call.find(link), std::string::npos) << call;
    }
}
