#include "net/FileSink.h"

#include "net/Downloader.h"
#include "toolkit/FileByHandle.h"

namespace {

bool emptyHeldFile(HANDLE file)
{
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

} // namespace

FileSink::FileSink(const char *path, std::uint64_t limit) : path_(path), limit_(limit) {}

FileSink::FileSink(HANDLE file, const char *path, std::uint64_t limit) : path_(path), limit_(limit), held_(file) {}

bool FileSink::begin(long long)
{
    received_ = 0;
    if (held_) {
        if (emptyHeldFile(held_))
            return true;
        refusal_ = DownloadCreateFailed;
        return false;
    }
    file_.reset(CreateFileA(path_, GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN,
                            nullptr));
    created_ = file_.valid();
    if (!created_)
        refusal_ = DownloadCreateFailed;
    return created_;
}

bool FileSink::receive(const char *block, std::uint32_t count)
{
    if (count > limit_ - received_) {
        refusal_ = DownloadTooLarge;
        return false;
    }
    received_ += count;
    DWORD written = 0;
    if (!WriteFile(held_ ? held_ : file_.get(), block, count, &written, nullptr) || written != count) {
        refusal_ = DownloadWriteFailed;
        return false;
    }
    return true;
}

bool FileSink::end()
{
    // Closed, so that the caller can open the file as it likes.
    file_.close();
    return true;
}

void FileSink::drop()
{
    if (held_) {
        emptyHeldFile(held_);
        return;
    }
    // Only a file this sink made is deleted: a failed create leaves whatever
    // stood at the path.
    if (created_)
        removeByHandle(file_.get());
    file_.close();
    created_ = false;
}
