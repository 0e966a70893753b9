#include "catalogue/Sha256.h"

#include "toolkit/KernelHandles.h"

namespace {

// Large enough that the hash, not the calls, costs the time; small enough
// for the stack.
constexpr DWORD FileBlockSize = 16 * 1024;

} // namespace

bool Sha256::begin()
{
    hash_.reset(nullptr);
    if (!algorithm_.get() && !openAlgorithm(algorithm_, BCRYPT_SHA256_ALGORITHM))
        return false;
    // Without an object buffer of its own, CNG keeps the hash state itself.
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (BCryptCreateHash(algorithm_.get(), &hash, nullptr, 0, nullptr, 0, 0) != 0)
        return false;
    hash_.reset(hash);
    return true;
}

bool Sha256::add(const void *data, std::size_t size)
{
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    while (size > 0) {
        const ULONG piece = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
        if (!hash_.get() || BCryptHashData(hash_.get(), const_cast<PUCHAR>(bytes), piece, 0) != 0)
            return false;
        bytes += piece;
        size -= piece;
    }
    return hash_.get() != nullptr;
}

bool Sha256::finish(Sha256Digest &digest)
{
    const bool done = hash_.get() && BCryptFinishHash(hash_.get(), digest.bytes, Sha256Size, 0) == 0;
    hash_.reset(nullptr);
    return done;
}

bool sha256OfMemory(const void *data, std::size_t size, Sha256Digest &digest)
{
    Sha256 hash;
    return hash.begin() && hash.add(data, size) && hash.finish(digest);
}

bool sha256OfFile(const char *path, Sha256Digest &digest, std::uint64_t *length)
{
    std::uint64_t total = 0;
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    Sha256 hash;
    if (!file.valid() || !hash.begin())
        return false;
    unsigned char block[FileBlockSize];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), block, sizeof block, &count, nullptr))
            return false;
        if (count == 0) {
            if (length)
                *length = total;
            return hash.finish(digest);
        }
        if (!hash.add(block, count))
            return false;
        total += count;
    }
}
