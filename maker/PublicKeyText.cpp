#include "maker/PublicKeyText.h"

#include "catalogue/core/Base64.h"

#include <cstdio>

void printPublicKey(const unsigned char (&publicKey)[P256PublicKeySize], const char *before)
{
    char text[base64Length(P256PublicKeySize) + 1];
    encodeBase64(publicKey, sizeof publicKey, text);
    std::printf("%sKESTREL_CATALOGUE_KEY=%s\n", before, text);
}
