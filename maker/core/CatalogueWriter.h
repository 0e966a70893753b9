#pragma once
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/CryptoSizes.h"

#include <cstddef>

// One program as the catalogue lists it.
struct ListedProgram {
    char name[60];            // a bare file name of at most 58 characters
    CalendarTime local;       // the file's last-write time as the catalogue's local time
    char version[24];         // a.b.c.d
    char checksum[Sha256HexLength + 1];
};

// Room for the whole text of a catalogue of the most programs Kestrel reads,
// each entry and checksum line at its longest, and a signature.
constexpr std::size_t CatalogueTextCapacity = 32768;

// Writes the catalogue with CR LF line ends: the token section, one entry
// per program, one checksum line per program and the expiry date. Returns the
// number of bytes written, 0 when they do not fit in outSize.
std::size_t writeCatalogue(const ListedProgram *programs, int count, const CalendarTime &expiry, char *out,
                           std::size_t outSize);

// Appends the signature section for the size bytes already in out; returns
// the new size, 0 when it does not fit.
std::size_t appendSignature(const unsigned char (&signature)[P256SignatureSize], char *out, std::size_t size,
                            std::size_t outSize);
