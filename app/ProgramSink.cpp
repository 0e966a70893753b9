#include "app/ProgramSink.h"

#include "net/Downloader.h"
#include "resources/ResourceIds.h"

#include <cstring>

namespace {
constexpr int NotTheExpectedProgram = IDS_NOT_THE_PROMISED_PROGRAM;
}

ProgramSink::~ProgramSink()
{
    drop();
}

void ProgramSink::prepare(const char *path, const CatalogueEntry &entry)
{
    drop();
    path_[0] = '\0';
    if (std::strlen(path) < sizeof path_)
        std::strcpy(path_, path);
    entry_ = entry;
}

bool ProgramSink::refuse(int code)
{
    refusal_ = code;
    return false;
}

bool ProgramSink::begin(long long announcedLength)
{
    drop();
    received_ = 0;
    refusal_ = 0;
    // A server that announces another length than the catalogue's is not
    // sending the program: nothing of it is taken.
    if (entry_.sizeStatus == SizeStatus::Present && announcedLength >= 0 &&
        static_cast<std::uint64_t>(announcedLength) != entry_.size)
        return refuse(NotTheExpectedProgram);
    if (std::strlen(path_) >= PathBufferSize)
        return refuse(DownloadCreateFailed);
    // A new file only: whatever stands at the path is not ours to reuse. It
    // goes when the handle is closed, so it is never free for another program
    // to open between the last copy and its deletion.
    file_.reset(CreateFileA(path_, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file_.valid())
        return refuse(DownloadCreateFailed);
    hashed_ = hash_.begin();
    return true;
}

bool ProgramSink::receive(const char *block, std::uint32_t count)
{
    if (entry_.sizeStatus == SizeStatus::Present && count > entry_.size - received_)
        return refuse(NotTheExpectedProgram);
    DWORD written = 0;
    if (!WriteFile(file_.get(), block, count, &written, nullptr) || written != count)
        return refuse(DownloadWriteFailed);
    received_ += count;
    hashed_ = hashed_ && hash_.add(block, count);
    return true;
}

bool ProgramSink::end()
{
    if (entry_.sizeStatus == SizeStatus::Present && received_ != entry_.size)
        return refuse(NotTheExpectedProgram);
    hashed_ = hashed_ && hash_.finish(digest_);
    kept_ = true;
    return true;
}

void ProgramSink::drop()
{
    kept_ = false;
    file_.close();
}

bool ProgramSink::matchesChecksum() const
{
    if (entry_.checksumStatus != ChecksumStatus::Present)
        return true;
    return kept_ && hashed_ && std::memcmp(digest_.bytes, entry_.checksum.bytes, Sha256Size) == 0;
}
