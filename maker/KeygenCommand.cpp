#include "maker/Commands.h"
#include "maker/KeyFile.h"
#include "maker/PublicKeyText.h"

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
    printPublicKey(key.publicKey, "");
    return ExitDone;
}
