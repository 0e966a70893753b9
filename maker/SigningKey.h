#pragma once
#include "catalogue/core/CryptoSizes.h"

#include <cstddef>

// The maker's ECDSA P-256 private key: X, Y and the private scalar d, 32
// bytes each, big-endian, the form other ECDSA implementations exchange too.
// This is the only code of the project that touches a private key. The bytes
// are wiped when the object ends.
class SigningKey {
public:
    static constexpr std::size_t CoordinateSize = 32;
    static constexpr std::size_t Size = 3 * CoordinateSize;

    SigningKey() = default;
    ~SigningKey();
    SigningKey(const SigningKey &) = delete;
    SigningKey &operator=(const SigningKey &) = delete;

    // A fresh key pair made by the platform (CNG); false when it cannot.
    bool generate();

    // The signature of digest, r then s, 32 bytes each, big-endian; false
    // when the platform refuses the key or the signing.
    bool sign(const Sha256Digest &digest, unsigned char (&signature)[P256SignatureSize]) const;

    // The key file's bytes: X, Y, then d.
    void toBytes(unsigned char (&out)[Size]) const;
    void fromBytes(const unsigned char (&in)[Size]);

    unsigned char publicKey[P256PublicKeySize] = {}; // X then Y
    unsigned char scalar[CoordinateSize] = {};       // d, the secret
};
