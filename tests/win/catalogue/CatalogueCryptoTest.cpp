#include "catalogue/Sha256.h"
#include "catalogue/SignatureVerifier.h"
#include "catalogue/core/Base64.h"
#include "catalogue/core/HexText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string hexOf(const Sha256Digest &digest)
{
    char text[Sha256HexLength + 1];
    encodeHex(digest.bytes, Sha256Size, text);
    return text;
}

TEST(Sha256, MatchesThePublishedVectors)
{
    struct Case {
        std::string data;
        const char *digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case &c : cases) {
        Sha256Digest digest;
        ASSERT_TRUE(sha256OfMemory(c.data.data(), c.data.size(), digest));
        EXPECT_EQ(hexOf(digest), c.digest) << c.data.size() << " bytes";
    }
}

TEST(Sha256, HashesAFileAsItsBytesWhateverItsSize)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "hashed.bin";
    // Sizes around the read block, so a lost or repeated block shows.
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{16383}, std::size_t{16384},
                             std::size_t{16385}, std::size_t{100003}}) {
        std::string data(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>(i * 131 + i / 251);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, data.data(), static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
        Sha256Digest fromFile;
        Sha256Digest fromMemory;
        ASSERT_TRUE(sha256OfFile(path.c_str(), fromFile)) << size;
        ASSERT_TRUE(sha256OfMemory(data.data(), size, fromMemory));
        EXPECT_EQ(hexOf(fromFile), hexOf(fromMemory)) << size;
    }
    DeleteFileA(path.c_str());
    Sha256Digest digest;
    EXPECT_FALSE(sha256OfFile(path.c_str(), digest));
}

// Made once with the Python package "cryptography" (ECDSA over SECP256R1 with
// SHA-256, r and s from decode_dss_signature), whose private key was thrown
// away: an implementation independent of the platform's.
const char PublicKey[] = "S8qIWTYKokFhuWyRuOVyjp4CAUQRGA7l0RU4iKFI6DflL45p9CIYCuBolyJ/PkmbPPvkMziODk8HXVvFoU0r6w==";
const char Signature[] = "pfpHGXvA94JudeGtT/buonoIPOnwUhqMYrJcozglP6Tm8Ar+CKsUzBjNzXV3+q0BDY5amF+lMwxbgtQG/CiisA==";
const std::string Message = "[L]\r\n&7(2?KwT\r\n[U]\r\nSample.exe|0|10/15/03|2:30:00 PM|-|1.2.0.7\r\n";

template <std::size_t N>
void decodeInto(const char *text, unsigned char (&out)[N])
{
    std::size_t size = 0;
    ASSERT_TRUE(decodeBase64(text, std::strlen(text), out, N, size));
    ASSERT_EQ(size, N);
}

bool verifies(const unsigned char (&key)[P256PublicKeySize], const std::string &message,
              const unsigned char (&signature)[P256SignatureSize])
{
    SignatureVerifier verifier;
    Sha256Digest digest;
    return verifier.importPublicKey(key) && sha256OfMemory(message.data(), message.size(), digest) &&
           verifier.verify(digest, signature);
}

TEST(SignatureVerifier, AcceptsWhatTheKeyHolderSignedAndNothingElse)
{
    unsigned char key[P256PublicKeySize];
    unsigned char signature[P256SignatureSize];
    decodeInto(PublicKey, key);
    decodeInto(Signature, signature);
    EXPECT_TRUE(verifies(key, Message, signature));

    std::string changed = Message;
    changed[changed.find("1.2.0.7")] = '2';
    EXPECT_FALSE(verifies(key, changed, signature)) << "a changed byte";
    EXPECT_FALSE(verifies(key, Message + "\n", signature)) << "a byte added";

    unsigned char badSignature[P256SignatureSize];
    std::memcpy(badSignature, signature, sizeof signature);
    badSignature[40] ^= 1;
    EXPECT_FALSE(verifies(key, Message, badSignature)) << "a changed s";

    unsigned char otherKey[P256PublicKeySize];
    std::memcpy(otherKey, key + 32, 32);
    std::memcpy(otherKey + 32, key, 32);
    EXPECT_FALSE(verifies(otherKey, Message, signature)) << "X and Y swapped";
}

// Windows refuses such a key at import; Wine takes it. Either way no
// signature may verify with it.
TEST(SignatureVerifier, APointOffTheCurveVerifiesNothing)
{
    unsigned char key[P256PublicKeySize];
    unsigned char signature[P256SignatureSize];
    decodeInto(PublicKey, key);
    decodeInto(Signature, signature);
    key[63] ^= 1;
    EXPECT_FALSE(verifies(key, Message, signature));
    unsigned char zero[P256PublicKeySize] = {};
    EXPECT_FALSE(verifies(zero, Message, signature));
    SignatureVerifier withoutKey;
    Sha256Digest digest{};
    EXPECT_FALSE(withoutKey.verify(digest, signature));
}

} // namespace
