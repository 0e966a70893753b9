#include "maker/SigningKey.h"

#include "catalogue/CngHandles.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstring>

namespace {

// CNG's private key blob: its header, then X, Y and d.
struct PrivateBlob {
    BCRYPT_ECCKEY_BLOB header;
    unsigned char key[SigningKey::Size];
};

} // namespace

SigningKey::~SigningKey()
{
    SecureZeroMemory(scalar, sizeof scalar);
}

void SigningKey::toBytes(unsigned char (&out)[Size]) const
{
    std::memcpy(out, publicKey, sizeof publicKey);
    std::memcpy(out + sizeof publicKey, scalar, sizeof scalar);
}

void SigningKey::fromBytes(const unsigned char (&in)[Size])
{
    std::memcpy(publicKey, in, sizeof publicKey);
    std::memcpy(scalar, in + sizeof publicKey, sizeof scalar);
}

bool SigningKey::generate()
{
    AlgorithmHandle algorithm;
    if (!openAlgorithm(algorithm, BCRYPT_ECDSA_P256_ALGORITHM))
        return false;
    BCRYPT_KEY_HANDLE made = nullptr;
    if (BCryptGenerateKeyPair(algorithm.get(), &made, 256, 0) != 0)
        return false;
    KeyHandle key;
    key.reset(made);
    PrivateBlob blob;
    ULONG written = 0;
    if (BCryptFinalizeKeyPair(key.get(), 0) != 0 ||
        BCryptExportKey(key.get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, reinterpret_cast<PUCHAR>(&blob), sizeof blob,
                        &written, 0) != 0 ||
        written != sizeof blob || blob.header.cbKey != CoordinateSize) {
        SecureZeroMemory(&blob, sizeof blob);
        return false;
    }
    fromBytes(blob.key);
    SecureZeroMemory(&blob, sizeof blob);
    return true;
}

bool SigningKey::sign(const Sha256Digest &digest, unsigned char (&signature)[P256SignatureSize]) const
{
    AlgorithmHandle algorithm;
    if (!openAlgorithm(algorithm, BCRYPT_ECDSA_P256_ALGORITHM))
        return false;
    PrivateBlob blob;
    blob.header.dwMagic = BCRYPT_ECDSA_PRIVATE_P256_MAGIC;
    blob.header.cbKey = CoordinateSize;
    toBytes(blob.key);
    BCRYPT_KEY_HANDLE imported = nullptr;
    const NTSTATUS status = BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, &imported,
                                                reinterpret_cast<PUCHAR>(&blob), sizeof blob, 0);
    SecureZeroMemory(&blob, sizeof blob);
    if (status != 0)
        return false;
    KeyHandle key;
    key.reset(imported);
    ULONG written = 0;
    return BCryptSignHash(key.get(), nullptr, const_cast<PUCHAR>(digest.bytes), sizeof digest.bytes, signature,
                          sizeof signature, &written, 0) == 0 &&
           written == sizeof signature;
}
