#include "net/FileSink.h"

#include "net/Downloader.h"

FileSink::FileSink(const char *path, std::uint64_t limit) : path_(path), limit_(limit) {}

bool FileSink::begin(long long)
{
    received_ = 0;
    file_.reset(CreateFileA(path_, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN,
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
    if (!WriteFile(file_.get(), block, count, &written, nullptr) || written != count) {
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
    // Only a file this sink made is deleted: a failed create leaves whatever
    // stood at the path.
    file_.close();
    if (created_)
        DeleteFileA(path_);
    created_ = false;
}
