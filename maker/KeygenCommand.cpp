#include "maker/Commands.h"
#include "maker/KeyFile.h"

#include "catalogue/core/Base64.h"

#include <cstdio>

int runKeygen(const CommandLine &line)
{
    SigningKey key;
    if (!key.generate()) {
        std::fprintf(stderr, "%s: the platform cannot make an ECDSA P-256 key\n", line.target);
        return ExitUsage;
    }
    const KeyFileStatus status = writeKeyFile(line.target, key);
    if (status != KeyFileStatus::Done) {
        std::fprintf(stderr, "%s: %s\n", line.target, keyFileProblem(status));
        return ExitUsage;
    }
    char publicKey[base64Length(P256PublicKeySize) + 1];
    encodeBase64(key.publicKey, sizeof key.publicKey, publicKey);
    std::printf("KESTREL_CATALOGUE_KEY=%s\n", publicKey);
    return ExitDone;
}
