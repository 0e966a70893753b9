#include "app/RunningProgram.h"

#include "tests/harness/TestFiles.h"
#include "toolkit/KernelHandles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Folder = "D:\\running-program\\";
const std::string Target = Folder + "Prog.exe";
const std::string NewCopy = Folder + "kst1.tmp";

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Holds path open without sharing, as a program still running from it does.
HANDLE holdWithoutSharing(const std::string &path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// The Update's call: NewCopy moved over Target through handles on them and
// on their folder; a missing copy is an invalid handle.
bool moveOverRunning()
{
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    FileHandle folder(CreateFileA(Folder.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileHandle copy(CreateFileA(NewCopy.c_str(), DELETE, shareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    FileHandle program(CreateFileA(Target.c_str(), FILE_READ_ATTRIBUTES, shareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    return moveOverRunningProgram(copy.get(), program.get(), folder.get(), "Prog.exe");
}

class RunningProgramFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryA(Folder.c_str(), nullptr);
        writeFile(Target, "old program");
        writeFile(NewCopy, "new program");
    }
    void TearDown() override
    {
        for (const char *name : {"Prog.exe", "kst1.tmp", "Prog.exe.old", "Prog.exe.old2", "Prog.exe.old3",
                                 "Prog.exe.old9", "Copy.exe"})
            DeleteFileA((Folder + name).c_str());
        RemoveDirectoryA(Folder.c_str());
    }
};

TEST_F(RunningProgramFiles, FilesAreKnownByTheirIdentityWhateverThePathText)
{
    EXPECT_TRUE(sameFile(Target.c_str(), "d:\\RUNNING-PROGRAM\\prog.EXE"));
    EXPECT_TRUE(sameFile(Target.c_str(), "D:\\running-program\\.\\Prog.exe"));
    EXPECT_TRUE(sameFile(Target.c_str(), "D:\\running-program\\..\\running-program\\Prog.exe"));

    // A copy byte for byte is another file, and so is one that is missing.
    ASSERT_TRUE(CopyFileA(Target.c_str(), (Folder + "Copy.exe").c_str(), FALSE));
    EXPECT_FALSE(sameFile(Target.c_str(), (Folder + "Copy.exe").c_str()));
    EXPECT_FALSE(sameFile(Target.c_str(), (Folder + "Missing.exe").c_str()));
    EXPECT_FALSE(sameFile((Folder + "Missing.exe").c_str(), (Folder + "Missing.exe").c_str()));

    // A file moved to another name keeps its identity.
    ASSERT_TRUE(MoveFileA(Target.c_str(), (Target + ".old").c_str()));
    EXPECT_TRUE(sameFile((Target + ".old").c_str(), "D:\\running-program\\PROG.exe.old"));
}

TEST_F(RunningProgramFiles, TheOldFileGoesAsideUnderTheFirstNameThatIsFreeOrCanBeFreed)
{
    // A deletable leftover of an earlier update makes room; one still held
    // open (a program running from it) is passed over and kept.
    writeFile(Target + ".old", "deletable leftover");
    writeFile(Target + ".old2", "held leftover");
    const HANDLE held = holdWithoutSharing(Target + ".old2");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(moveOverRunning());
    EXPECT_EQ(readFile(Target), "new program");
    EXPECT_EQ(readFile(Target + ".old"), "old program");
    EXPECT_FALSE(exists(NewCopy));

    writeFile(NewCopy, "newer program");
    ASSERT_TRUE(moveOverRunning());
    CloseHandle(held);
    EXPECT_EQ(readFile(Target), "newer program");
    EXPECT_EQ(readFile(Target + ".old"), "new program");
    EXPECT_EQ(readFile(Target + ".old2"), "held leftover");
    EXPECT_FALSE(exists(Target + ".old3"));
}

TEST_F(RunningProgramFiles, AFailedStepLeavesTheOldProgramUnderItsName)
{
    // The new copy's move fails after the rename: the old program goes back.
    DeleteFileA(NewCopy.c_str());
    SetLastError(0);
    EXPECT_FALSE(moveOverRunning());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(readFile(Target), "old program");
    EXPECT_FALSE(exists(Target + ".old"));

    // No old name can be freed: nothing moves.
    writeFile(NewCopy, "new program");
    std::vector<HANDLE> held;
    for (const char *suffix : {".old", ".old2", ".old3", ".old4", ".old5", ".old6", ".old7", ".old8", ".old9"}) {
        writeFile(Target + suffix, suffix);
        held.push_back(holdWithoutSharing(Target + suffix));
    }
    EXPECT_FALSE(moveOverRunning());
    for (HANDLE handle : held)
        CloseHandle(handle);
    EXPECT_EQ(readFile(Target), "old program");
    EXPECT_EQ(readFile(Target + ".old9"), ".old9");
    for (const char *suffix : {".old4", ".old5", ".old6", ".old7", ".old8"})
        DeleteFileA((Target + suffix).c_str());
}

TEST_F(RunningProgramFiles, ARunningProgramIsMovedAsideAndReplaced)
{
    ASSERT_TRUE(CopyFileA("Y:\\corvel-current.exe", Target.c_str(), FALSE));
    std::string command = "\"" + Target + "\" --wait 60";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WaitForInputIdle(process.hProcess, 5000);
    Sleep(500);
    const bool moved = moveOverRunning();
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_TRUE(moved);
    EXPECT_EQ(readFile(Target), "new program");
    EXPECT_EQ(readFile(Target + ".old"), readFile("Y:\\corvel-current.exe"));
}

TEST_F(RunningProgramFiles, AtStartTheOldProgramNamesAreDeletedAndWhatCannotBeIsLeft)
{
    const std::string deleted[] = {Target + ".old", Target + ".old3", Target + ".old9"};
    const std::string kept[] = {Target + ".old2", Target + ".old10", Target + ".older", Target + ".old1",
                                Folder + "Other.exe.old"};
    for (const std::string &path : deleted)
        writeFile(path, "leftover");
    for (const std::string &path : kept)
        writeFile(path, "kept");
    const HANDLE held = holdWithoutSharing(Target + ".old2");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    removeOldPrograms(Target.c_str());
    CloseHandle(held);
    for (const std::string &path : deleted)
        EXPECT_FALSE(exists(path)) << path;
    for (const std::string &path : kept) {
        EXPECT_TRUE(exists(path)) << path;
        DeleteFileA(path.c_str());
    }
    EXPECT_EQ(readFile(Target), "old program");
}

} // namespace
