#pragma once
#include "catalogue/core/CryptoSizes.h"

// Prints the public key as the Kestrel build takes it,
// "KESTREL_CATALOGUE_KEY=<88 base64 characters>", after the text before, so
// a maker can compare the key a command used with the one their Kestrel was
// built with.
void printPublicKey(const unsigned char (&publicKey)[P256PublicKeySize], const char *before);
