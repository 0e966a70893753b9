#include "app/SafeReplace.h"

#include "tests/harness/TestFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const char *const Folder = "D:\\safe-replace\\";

std::string pathOf(const char *name) { return std::string(Folder) + name; }

std::set<std::string> folderNames()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(Folder) + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
            names.insert(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

FILETIME lastWriteTime(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

FILETIME catalogueStamp()
{
    // 15 October 2003 12:30:00 UTC, far from any time a file gets by itself.
    SYSTEMTIME calendar{2003, 10, 0, 15, 12, 30, 0, 0};
    FILETIME stamp;
    SystemTimeToFileTime(&calendar, &stamp);
    return stamp;
}

class SafeReplace : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryA(Folder, nullptr);
        writeFile(pathOf("new.bin"), std::string(70000, 'N'));
        writeFile(pathOf("Sample.exe"), "old program");
    }
    void TearDown() override
    {
        for (const std::string &name : folderNames()) {
            SetFileAttributesA(pathOf(name.c_str()).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(pathOf(name.c_str()).c_str());
        }
        RemoveDirectoryA(Folder);
    }
    const std::set<std::string> untouchedFolder{"Sample.exe", "new.bin"};
};

TEST_F(SafeReplace, PutsTheWholeNewFileInPlaceWithTheCatalogueDateAndLeavesNothingBehind)
{
    const FILETIME stamp = catalogueStamp();
    ASSERT_TRUE(replaceProgramFile(pathOf("new.bin").c_str(), pathOf("Sample.exe").c_str(), stamp));
    EXPECT_EQ(readFile(pathOf("Sample.exe")), std::string(70000, 'N'));
    const FILETIME written = lastWriteTime(pathOf("Sample.exe"));
    EXPECT_EQ(CompareFileTime(&stamp, &written), 0);
    EXPECT_EQ(folderNames(), untouchedFolder);
}

struct Refusal {
    const char *what;
    DWORD attributes;
    bool holdOpen;
    const char *source;
};

class SafeReplaceRefuses : public SafeReplace, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SafeReplaceRefuses, AndLeavesTheOldProgramAndNoStrayFile)
{
    const Refusal &refusal = GetParam();
    const std::string target = pathOf("Sample.exe");
    if (refusal.attributes) {
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), refusal.attributes));
    }
    HANDLE held = INVALID_HANDLE_VALUE;
    if (refusal.holdOpen) {
        held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    const FILETIME before = lastWriteTime(target);

    EXPECT_FALSE(replaceProgramFile(pathOf(refusal.source).c_str(), target.c_str(), catalogueStamp()));

    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(target), "old program");
    const FILETIME after = lastWriteTime(target);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
    EXPECT_EQ(folderNames(), untouchedFolder);
}

INSTANTIATE_TEST_SUITE_P(Targets, SafeReplaceRefuses,
    ::testing::Values(Refusal{"ReadOnly", FILE_ATTRIBUTE_READONLY, false, "new.bin"},
                      Refusal{"Hidden", FILE_ATTRIBUTE_HIDDEN, false, "new.bin"},
                      Refusal{"HeldOpenWithoutSharing", 0, true, "new.bin"},
                      Refusal{"SourceMissing", 0, false, "absent.bin"}),
    [](const ::testing::TestParamInfo<Refusal> &info) { return std::string(info.param.what); });

TEST_F(SafeReplace, RefusesATargetThatIsNotThere)
{
    EXPECT_FALSE(replaceProgramFile(pathOf("new.bin").c_str(), pathOf("Gone.exe").c_str(), catalogueStamp()));
    EXPECT_EQ(folderNames(), untouchedFolder);
}

} // namespace
