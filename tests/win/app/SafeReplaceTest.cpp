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

// Writes the copy from new.bin and moves it over target, as the Update does.
bool replaceFromNewFile(const std::string &target, ReplaceFacts *failure = nullptr)
{
    HANDLE source = CreateFileA(pathOf("new.bin").c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(source, INVALID_HANDLE_VALUE);
    // The Update stamps its download with the catalogue's date; the copy takes it.
    const FILETIME stamp = catalogueStamp();
    SetFileTime(source, &stamp, &stamp, &stamp);
    // The identities the search keeps, taken now.
    ListedCopy kept{};
    ListedCopies::identify(target.substr(0, target.rfind('\\') + 1).c_str(), target.c_str(), kept);
    ReplacementCopy copy;
    const bool replaced = copy.write(source, target.c_str(), &kept) && copy.moveOverTarget();
    CloseHandle(source);
    if (failure)
        *failure = copy.failure();
    return replaced;
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
    ASSERT_TRUE(replaceFromNewFile(pathOf("Sample.exe")));
    EXPECT_EQ(readFile(pathOf("Sample.exe")), std::string(70000, 'N'));
    const FILETIME written = lastWriteTime(pathOf("Sample.exe"));
    EXPECT_EQ(CompareFileTime(&stamp, &written), 0);
    EXPECT_EQ(folderNames(), untouchedFolder);
}

struct Refusal {
    const char *what;
    DWORD attributes;
    bool holdOpen;
    ReplaceReason reason;
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

    ReplaceFacts failure{};
    EXPECT_FALSE(replaceFromNewFile(target, &failure));
    EXPECT_EQ(replaceReason(failure), refusal.reason);

    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(target), "old program");
    const FILETIME after = lastWriteTime(target);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
    EXPECT_EQ(folderNames(), untouchedFolder);
}

INSTANTIATE_TEST_SUITE_P(Targets, SafeReplaceRefuses,
    ::testing::Values(Refusal{"ReadOnly", FILE_ATTRIBUTE_READONLY, false, ReplaceReason::ReadOnly},
                      Refusal{"Hidden", FILE_ATTRIBUTE_HIDDEN, false, ReplaceReason::HiddenOrSystem},
                      Refusal{"System", FILE_ATTRIBUTE_SYSTEM, false, ReplaceReason::HiddenOrSystem},
                      Refusal{"HeldOpenWithoutSharing", 0, true, ReplaceReason::InUse}),
    [](const ::testing::TestParamInfo<Refusal> &info) { return std::string(info.param.what); });

TEST_F(SafeReplace, ReplacesInFoldersUpTo246CharactersAndLeavesLongerOnesAlone)
{
    for (const std::size_t folderLength : {std::size_t{246}, std::size_t{247}}) {
        // "D:\\" + one name + "\\"
        const std::string folder = "D:\\" + std::string(folderLength - 4, 'L') + "\\";
        const std::string target = folder + "Sample.exe";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        writeFile(target, "old program");
        const bool replaced = replaceFromNewFile(target);
        EXPECT_EQ(replaced, folderLength == 246) << folderLength;
        EXPECT_EQ(readFile(target), replaced ? std::string(70000, 'N') : "old program") << folderLength;
        EXPECT_TRUE(DeleteFileA(target.c_str()));
        EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "a stray file was left in " << folderLength;
    }
}

TEST_F(SafeReplace, RefusesATargetThatIsNotThere)
{
    ReplaceFacts failure{};
    EXPECT_FALSE(replaceFromNewFile(pathOf("Gone.exe"), &failure));
    EXPECT_EQ(failure.error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(folderNames(), untouchedFolder);
}

// A scanner's hold: the target open without delete sharing.
HANDLE holdWithoutDeleteSharing(const std::string &path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

// Lets the hold go 300 ms after the copy beside the target appeared.
DWORD WINAPI releaseAfterTheCopyAppeared(void *held)
{
    for (const DWORD start = GetTickCount(); folderNames().size() < 3 && GetTickCount() - start < 10000;)
        Sleep(2);
    Sleep(300);
    CloseHandle(held);
    return 0;
}

TEST_F(SafeReplace, WaitsOutAScannersBriefHoldOfTheTargetAndReportsALongerOneAsInUse)
{
    HANDLE releaser = CreateThread(nullptr, 0, releaseAfterTheCopyAppeared,
                                   holdWithoutDeleteSharing(pathOf("Sample.exe")), 0, nullptr);
    EXPECT_TRUE(replaceFromNewFile(pathOf("Sample.exe")));
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_EQ(readFile(pathOf("Sample.exe")), std::string(70000, 'N'));
    EXPECT_EQ(folderNames(), untouchedFolder);

    writeFile(pathOf("Sample.exe"), "old program");
    HANDLE held = holdWithoutDeleteSharing(pathOf("Sample.exe"));
    ReplaceFacts failure{};
    const DWORD start = GetTickCount();
    EXPECT_FALSE(replaceFromNewFile(pathOf("Sample.exe"), &failure));
    // It was tried again for about a second before giving up.
    EXPECT_GE(GetTickCount() - start, 900u);
    CloseHandle(held);
    EXPECT_EQ(replaceReason(failure), ReplaceReason::InUse);
    EXPECT_EQ(readFile(pathOf("Sample.exe")), "old program");
    EXPECT_EQ(folderNames(), untouchedFolder);
}

} // namespace
