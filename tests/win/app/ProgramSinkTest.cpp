#include "app/ProgramSink.h"
#include "app/SafeReplace.h"
#include "net/Downloader.h"

#include "tests/harness/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char *const Folder = "D:\\program-sink\\";
const std::string Body = "MZ the maker's program, whole";

std::string pathOf(const char *name) { return std::string(Folder) + name; }

CatalogueEntry entryFor(const std::string &body, SizeStatus sizeStatus, std::uint64_t size)
{
    CatalogueEntry entry{};
    entry.checksumStatus = ChecksumStatus::Present;
    EXPECT_TRUE(sha256OfMemory(body.data(), body.size(), entry.checksum));
    entry.sizeStatus = sizeStatus;
    entry.size = size;
    return entry;
}

class ProgramSinkTest : public ::testing::Test {
protected:
    void SetUp() override { CreateDirectoryA(Folder, nullptr); }
    void TearDown() override
    {
        DeleteFileA(pathOf("Tool.exe").c_str());
        DeleteFileA(pathOf("Installed.exe").c_str());
        DeleteFileA(pathOf("Moved.exe").c_str());
        RemoveDirectoryA(Folder);
    }
    // Feeds body to sink in two blocks; the result of the last call made.
    bool feed(ProgramSink &sink, const std::string &body, long long announced = -1)
    {
        const std::uint32_t half = static_cast<std::uint32_t>(body.size() / 2);
        return sink.begin(announced) && sink.receive(body.data(), half) &&
               sink.receive(body.data() + half, static_cast<std::uint32_t>(body.size()) - half) && sink.end();
    }
    const std::string path = pathOf("Tool.exe");
};

TEST_F(ProgramSinkTest, HoldsTheKeptFileAgainstEveryOtherWriterAndCopiesExactlyItsBytes)
{
    {
        ProgramSink sink;
        sink.prepare(path.c_str(), entryFor(Body, SizeStatus::Present, Body.size()));
        ASSERT_TRUE(feed(sink, Body, static_cast<long long>(Body.size())));
        ASSERT_NE(sink.heldFile(), INVALID_HANDLE_VALUE);
        EXPECT_TRUE(sink.matchesChecksum());

        HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        if (writer != INVALID_HANDLE_VALUE)
            CloseHandle(writer);
        writeFile(pathOf("Installed.exe"), "decoy");
        EXPECT_FALSE(MoveFileExA(path.c_str(), pathOf("Moved.exe").c_str(), 0));
        EXPECT_FALSE(MoveFileExA(pathOf("Installed.exe").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
        EXPECT_FALSE(DeleteFileA(path.c_str()));

        ReplacementCopy copy;
        FILETIME stamp{0x2A3B4C5D, 0x01C39300};
        ASSERT_TRUE(copy.write(sink.heldFile(), pathOf("Installed.exe").c_str(), stamp));
        ASSERT_TRUE(copy.moveOverTarget());
        EXPECT_EQ(readFile(pathOf("Installed.exe")), Body);
    }
    // The sink took its file with it.
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProgramSinkTest, RefusesABodyOtherThanTheCatalogueSizeAndLeavesNothingOfIt)
{
    const int notTheProgram = IDS_NOT_THE_PROMISED_PROGRAM;
    ProgramSink sink;

    // One byte past the size: stopped in the block that passes it.
    sink.prepare(path.c_str(), entryFor(Body, SizeStatus::Present, Body.size() - 1));
    ASSERT_TRUE(sink.begin(-1));
    EXPECT_FALSE(sink.receive(Body.data(), static_cast<std::uint32_t>(Body.size())));
    EXPECT_EQ(sink.refusal(), notTheProgram);
    sink.drop();
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // Ending one byte short.
    sink.prepare(path.c_str(), entryFor(Body, SizeStatus::Present, Body.size() + 1));
    EXPECT_FALSE(feed(sink, Body));
    EXPECT_EQ(sink.refusal(), notTheProgram);
    sink.drop();
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // An announced length other than the size: nothing is even created.
    sink.prepare(path.c_str(), entryFor(Body, SizeStatus::Present, Body.size()));
    EXPECT_FALSE(sink.begin(static_cast<long long>(Body.size()) + 1));
    EXPECT_EQ(sink.refusal(), notTheProgram);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(sink.heldFile(), INVALID_HANDLE_VALUE);

    // Without a usable size line any length is taken.
    for (const SizeStatus status : {SizeStatus::None, SizeStatus::Malformed}) {
        sink.prepare(path.c_str(), entryFor(Body, status, 3));
        EXPECT_TRUE(feed(sink, Body));
        EXPECT_TRUE(sink.matchesChecksum());
        sink.drop();
    }
}

TEST_F(ProgramSinkTest, ChecksTheDigestTakenWhileReceivingAndNeverReusesAFileAtItsPath)
{
    ProgramSink sink;
    CatalogueEntry entry = entryFor(Body, SizeStatus::None, 0);
    entry.checksum.bytes[0] ^= 1;
    sink.prepare(path.c_str(), entry);
    ASSERT_TRUE(feed(sink, Body));
    EXPECT_FALSE(sink.matchesChecksum());
    entry.checksumStatus = ChecksumStatus::Malformed;
    sink.prepare(path.c_str(), entry);
    ASSERT_TRUE(feed(sink, Body));
    EXPECT_TRUE(sink.matchesChecksum());
    sink.drop();

    writeFile(path, "placed there before");
    sink.prepare(path.c_str(), entryFor(Body, SizeStatus::None, 0));
    EXPECT_FALSE(sink.begin(-1));
    EXPECT_EQ(sink.refusal(), DownloadCreateFailed);
    sink.drop();
    EXPECT_EQ(readFile(path), "placed there before");
}

} // namespace
