#include "app/ProgramSink.h"
#include "net/Downloader.h"

#include "tests/harness/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string Body = "MZ the maker's program, whole";
const std::string Path = "D:\\Tool.exe";
constexpr int NotTheProgram = IDS_NOT_THE_PROMISED_PROGRAM;

bool absent() { return GetFileAttributesA(Path.c_str()) == INVALID_FILE_ATTRIBUTES; }

// A sink for Body's checksum and a size line of size, begun with no length announced.
void begin(ProgramSink &sink, SizeStatus status, std::uint64_t size)
{
    CatalogueEntry entry{};
    entry.checksumStatus = ChecksumStatus::Present;
    ASSERT_TRUE(sha256OfMemory(Body.data(), Body.size(), entry.checksum));
    entry.sizeStatus = status;
    entry.size = size;
    sink.prepare(Path.c_str(), entry);
    ASSERT_TRUE(sink.begin(-1));
}

TEST(ProgramSink, KeepsOnlyABodyOfTheCatalogueSizeAndHoldsItAgainstOtherWriters)
{
    ProgramSink sink;
    // One byte past the size: stopped in the block that passes it.
    begin(sink, SizeStatus::Present, Body.size() - 1);
    EXPECT_FALSE(sink.receive(Body.data(), static_cast<std::uint32_t>(Body.size())));
    EXPECT_EQ(sink.refusal(), NotTheProgram);
    sink.drop();
    EXPECT_TRUE(absent());
    // One byte short at the end.
    begin(sink, SizeStatus::Present, Body.size() + 1);
    EXPECT_TRUE(sink.receive(Body.data(), static_cast<std::uint32_t>(Body.size())));
    EXPECT_FALSE(sink.end());
    EXPECT_EQ(sink.refusal(), NotTheProgram);
    sink.drop();
    EXPECT_TRUE(absent());

    {
        ProgramSink kept;
        begin(kept, SizeStatus::Present, Body.size());
        ASSERT_TRUE(kept.receive(Body.data(), 5) && kept.receive(Body.data() + 5, Body.size() - 5) && kept.end());
        EXPECT_TRUE(kept.matchesChecksum());
        EXPECT_EQ(CreateFileA(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_FALSE(MoveFileExA(Path.c_str(), "D:\\Moved.exe", 0));
        EXPECT_FALSE(DeleteFileA(Path.c_str()));
        // A sink never takes over a file that stands at its path.
        ProgramSink second;
        second.prepare(Path.c_str(), CatalogueEntry{});
        EXPECT_FALSE(second.begin(-1));
        EXPECT_EQ(second.refusal(), DownloadCreateFailed);
        // Nor makes a path too long for the working path; its warning names it whole.
        const std::string longPath = "D:\\" + std::string(PathBufferSize - 3, 'L');
        second.prepare(longPath.c_str(), CatalogueEntry{});
        EXPECT_FALSE(second.begin(-1));
        EXPECT_EQ(second.refusal(), DownloadCreateFailed);
        EXPECT_EQ(second.path(), longPath);
    }
    EXPECT_TRUE(absent());
}

} // namespace
