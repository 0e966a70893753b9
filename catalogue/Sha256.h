#pragma once
#include "catalogue/CngHandles.h"
#include "catalogue/core/CryptoSizes.h"

#include <cstddef>
#include <cstdint>

// SHA-256 from the platform (CNG), fed in pieces. Built on
// BCryptCreateHash/BCryptHashData/BCryptFinishHash, which Windows 7 has.
class Sha256 {
public:
    // Starts a new digest; false when the platform cannot hash.
    bool begin();
    bool add(const void *data, std::size_t size);
    // Writes the digest of everything added since begin; the object must be
    // begun again before further use.
    bool finish(Sha256Digest &digest);

private:
    AlgorithmHandle algorithm_;
    HashHandle hash_;
};

// The digest of one block of memory; false when the platform cannot hash.
bool sha256OfMemory(const void *data, std::size_t size, Sha256Digest &digest);

// The digest of a whole file, read from the start in modest blocks, and,
// when asked, the number of bytes hashed; false when the file cannot be
// opened or read, or the platform cannot hash.
bool sha256OfFile(const char *path, Sha256Digest &digest, std::uint64_t *length = nullptr);
