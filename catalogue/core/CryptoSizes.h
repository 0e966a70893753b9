#pragma once
#include <cstddef>

// Sizes of the catalogue's cryptographic values: SHA-256 digests, and ECDSA
// over the NIST P-256 curve with keys and signatures in their plain
// big-endian form (a public key is X then Y, a signature r then s, 32 bytes
// each, as Windows CNG exchanges them).
constexpr std::size_t Sha256Size = 32;
constexpr std::size_t P256PublicKeySize = 64;
constexpr std::size_t P256SignatureSize = 64;

// A SHA-256 digest, as CNG and the catalogue's checksum lines give it.
struct Sha256Digest {
    unsigned char bytes[Sha256Size];
};

// The checksum of a file is written as lower-case hexadecimal.
constexpr std::size_t Sha256HexLength = 2 * Sha256Size;
