#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/CryptoSizes.h"

#include <cstddef>
#include <cstdint>

// One program as the catalogue lists it.
struct ListedProgram {
    char name[FileNameFieldSize]; // a bare file name of at most MaxFileNameLength characters
    CalendarTime local;       // the file's last-write time as the catalogue's local time
    char version[24];         // a.b.c.d
    char checksum[Sha256HexLength + 1];
    std::uint64_t size;       // the file's length in bytes
};

// Room for the whole text of a catalogue of the most programs Kestrel reads,
// each entry and checksum line at its longest, and a signature.
constexpr std::size_t CatalogueTextCapacity = 49152;

// Writes the catalogue with CR LF line ends: the token section, one entry
// per program, one checksum line and one size line per program, the issue
// time (UTC) and the expiry date. Returns the
// number of bytes written, 0 when they do not fit in outSize.
std::size_t writeCatalogue(const ListedProgram *programs, int count, const CalendarTime &issued,
                           const CalendarTime &expiry, char *out, std::size_t outSize);

// Appends the signature section for the size bytes already in out; returns
// the new size, 0 when it does not fit.
std::size_t appendSignature(const unsigned char (&signature)[P256SignatureSize], char *out, std::size_t size,
                            std::size_t outSize);
