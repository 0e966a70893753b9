#pragma once
#include "net/DownloadSink.h"
#include "toolkit/KernelHandles.h"

#include <cstdint>

// Writes a fetch's body into a local file (created afresh, or truncated), and
// deletes the file when the fetch fails. Or into a file the caller made and
// holds: its handle is written from the start and emptied again when the
// fetch fails, and nothing is looked up by path. With a limit, a body longer than the
// limit is refused as soon as it passes it, before the block that would pass
// it is written.
class FileSink : public DownloadSink {
public:
    static constexpr std::uint64_t NoLimit = ~std::uint64_t{0};

    // path must stay unchanged while the sink lives.
    explicit FileSink(const char *path, std::uint64_t limit = NoLimit);
    // file stays open while the sink lives (an invalid handle refuses every
    // body); path names it in warnings.
    FileSink(HANDLE file, const char *path, std::uint64_t limit = NoLimit);
    FileSink(const FileSink &) = delete;
    FileSink &operator=(const FileSink &) = delete;

    bool begin(long long announcedLength) override;
    bool receive(const char *block, std::uint32_t count) override;
    bool end() override;
    void drop() override;
    int refusal() const override { return refusal_; }
    const char *path() const override { return path_; }

private:
    const char *path_;
    std::uint64_t limit_;
    std::uint64_t received_ = 0;
    int refusal_ = 0;
    bool created_ = false;
    HANDLE held_ = nullptr;
    FileHandle file_;
};
