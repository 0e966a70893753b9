#include "maker/KeyFile.h"

#include "catalogue/core/Base64.h"
#include "maker/PrivateFileSecurity.h"
#include "maker/core/KeyFileVolume.h"
#include "toolkit/FileByHandle.h"
#include "toolkit/KernelHandles.h"

#include <cstring>

namespace {

constexpr std::size_t KeyTextLength = base64Length(SigningKey::Size);

// Whether the volume path lies on keeps access lists; false when that
// cannot be learnt.
bool volumeKeepsAccessLists(const char *path)
{
    char volume[MAX_PATH];
    DWORD flags = 0;
    return GetVolumePathNameA(path, volume, sizeof volume) &&
           GetVolumeInformationA(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           keepsAccessLists(flags);
}

} // namespace

KeyFileStatus writeKeyFile(const char *path, const SigningKey &key)
{
    if (!volumeKeepsAccessLists(path))
        return KeyFileStatus::NoAccessLists;
    PrivateFileSecurity security;
    if (!security.build())
        return KeyFileStatus::CannotWrite;
    FileHandle file(
        CreateFileA(path, GENERIC_WRITE | DELETE, 0, security.attributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS ? KeyFileStatus::Exists
                                                                                              : KeyFileStatus::CannotWrite;
    unsigned char bytes[SigningKey::Size];
    key.toBytes(bytes);
    char text[KeyTextLength + 3];
    encodeBase64(bytes, sizeof bytes, text);
    SecureZeroMemory(bytes, sizeof bytes);
    std::memcpy(text + KeyTextLength, "\r\n", 3);
    DWORD written = 0;
    const bool done = WriteFile(file.get(), text, KeyTextLength + 2, &written, nullptr) && written == KeyTextLength + 2;
    SecureZeroMemory(text, sizeof text);
    if (!done) {
        removeByHandle(file.get());
        return KeyFileStatus::CannotWrite;
    }
    return KeyFileStatus::Done;
}

KeyFileStatus readKeyFile(const char *path, SigningKey &key)
{
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file.valid())
        return KeyFileStatus::CannotRead;
    // One byte more than a key line with its line end shows a longer file.
    char text[KeyTextLength + 3];
    DWORD read = 0;
    const bool readDone = ReadFile(file.get(), text, sizeof text, &read, nullptr);
    KeyFileStatus status = KeyFileStatus::Malformed;
    if (!readDone) {
        status = KeyFileStatus::CannotRead;
    } else {
        std::size_t length = read;
        if (length > 0 && text[length - 1] == '\n')
            --length;
        if (length > 0 && text[length - 1] == '\r')
            --length;
        unsigned char bytes[SigningKey::Size];
        std::size_t decoded = 0;
        if (length == KeyTextLength && decodeBase64(text, length, bytes, sizeof bytes, decoded) &&
            decoded == sizeof bytes) {
            key.fromBytes(bytes);
            status = KeyFileStatus::Done;
        }
        SecureZeroMemory(bytes, sizeof bytes);
    }
    SecureZeroMemory(text, sizeof text);
    return status;
}

const char *keyFileProblem(KeyFileStatus status)
{
    switch (status) {
    case KeyFileStatus::Done:
        return "done";
    case KeyFileStatus::Exists:
        return "exists already; a key file is never replaced";
    case KeyFileStatus::CannotWrite:
        return "cannot be written";
    case KeyFileStatus::CannotRead:
        return "cannot be read";
    case KeyFileStatus::Malformed:
        return "is not a key file: one line of 128 base64 characters";
    case KeyFileStatus::NoAccessLists:
        return "this drive cannot restrict who may read the key file";
    }
    return "";
}
