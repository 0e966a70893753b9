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

TEST(Sha256, MatchesThePublishedVectorsInMemoryAndInFilesOfAnySize)
{
    const std::pair<std::string, const char *> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "hashed.bin";
    for (const auto &vector : vectors) {
        Sha256Digest digest;
        ASSERT_TRUE(sha256OfMemory(vector.first.data(), vector.first.size(), digest));
        EXPECT_EQ(hexOf(digest), vector.second) << vector.first.size() << " bytes";
        // A million bytes cross the file reader's blocks many times over.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, vector.first.data(), static_cast<DWORD>(vector.first.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(sha256OfFile(path.c_str(), digest));
        EXPECT_EQ(hexOf(digest), vector.second) << "file of " << vector.first.size() << " bytes";
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
    ASSERT_TRUE(decodeBase64(text, std::strlen(text), out, N, size) && size == N);
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
    signature[40] ^= 1;
    EXPECT_FALSE(verifies(key, Message, signature)) << "a changed s";
    signature[40] ^= 1;
    // Windows refuses a point off the curve at import, Wine takes it: either
    // way nothing may verify with it.
    key[63] ^= 1;
    EXPECT_FALSE(verifies(key, Message, signature)) << "a point off the curve";
    SignatureVerifier withoutKey;
    EXPECT_FALSE(withoutKey.verify(Sha256Digest{}, signature));
}

} // namespace
