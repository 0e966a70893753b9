#pragma once
#include "maker/SigningKey.h"

// The private key file: one text line, the base64 of X, Y and d (96 bytes,
// 128 characters), so keys move freely between this tool and other ECDSA
// implementations.

enum class KeyFileStatus { Done, Exists, CannotWrite, CannotRead, Malformed, NoAccessLists };

// Creates path with the key, readable by the current user alone; never
// replaces an existing file, and never writes one on a volume that keeps no
// access lists (maker/core/KeyFileVolume.h).
KeyFileStatus writeKeyFile(const char *path, const SigningKey &key);

// Reads the key from path; a line end after the text is allowed.
KeyFileStatus readKeyFile(const char *path, SigningKey &key);

// What went wrong, for a message after the path.
const char *keyFileProblem(KeyFileStatus status);
