#include "catalogue/SignatureVerifier.h"

#include <cstring>

namespace {

constexpr ULONG CoordinateSize = P256PublicKeySize / 2;

} // namespace

bool SignatureVerifier::importPublicKey(const unsigned char (&key)[P256PublicKeySize])
{
    key_.reset(nullptr);
    if (!algorithm_.get() && !openAlgorithm(algorithm_, BCRYPT_ECDSA_P256_ALGORITHM))
        return false;
    // The public blob: its header, then X and Y.
    unsigned char blob[sizeof(BCRYPT_ECCKEY_BLOB) + P256PublicKeySize];
    const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, CoordinateSize};
    std::memcpy(blob, &header, sizeof header);
    std::memcpy(blob + sizeof header, key, P256PublicKeySize);
    BCRYPT_KEY_HANDLE imported = nullptr;
    if (BCryptImportKeyPair(algorithm_.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported, blob, sizeof blob, 0) != 0)
        return false;
    key_.reset(imported);
    return true;
}

bool SignatureVerifier::verify(const Sha256Digest &digest, const unsigned char (&signature)[P256SignatureSize]) const
{
    if (!key_.get())
        return false;
    // CNG takes the buffers as writable but does not change them.
    return BCryptVerifySignature(key_.get(), nullptr, const_cast<PUCHAR>(digest.bytes), Sha256Size,
                                 const_cast<PUCHAR>(signature), P256SignatureSize, 0) == 0;
}
