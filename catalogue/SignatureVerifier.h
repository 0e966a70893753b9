#pragma once
#include "catalogue/CngHandles.h"
#include "catalogue/core/CryptoSizes.h"

// Checks ECDSA P-256 signatures over SHA-256 digests against one public key,
// with the platform's CNG.
class SignatureVerifier {
public:
    // Imports the public key, X then Y, 32 bytes each, big-endian. False when
    // the platform refuses it, for instance because it is no point on the
    // curve; every verify is then false.
    bool importPublicKey(const unsigned char (&key)[P256PublicKeySize]);

    // True only when signature (r then s, 32 bytes each, big-endian) was made
    // over digest with the private half of the imported key.
    bool verify(const Sha256Digest &digest, const unsigned char (&signature)[P256SignatureSize]) const;

private:
    AlgorithmHandle algorithm_;
    KeyHandle key_;
};
