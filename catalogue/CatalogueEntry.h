#pragma once
#include "catalogue/core/CryptoSizes.h"

#include <cstddef>
#include <cstdint>

// The longest program file name a catalogue entry holds; longer names are
// cut to it. The buffers around it keep their own fixed sizes and the limits
// on what goes before a name are taken from this number: the build's check
// of the folder address, so that address and name fit the URL buffer
// (Downloader::UrlBufferSize), and the longest temporary folder Kestrel
// uses, so that folder and name fit the working path (temporaryFolderFits).
constexpr std::size_t MaxFileNameLength = 58;
// The record's field for the name: the name, its terminator and one spare byte.
constexpr std::size_t FileNameFieldSize = MaxFileNameLength + 2;

// Laid out like the platform's FILETIME: 100-nanosecond intervals since
// 1 January 1601, UTC, in two 32-bit halves.
struct FileTime {
    std::uint32_t lowDateTime;
    std::uint32_t highDateTime;
};

// What the catalogue's checksum section says of one entry's file.
enum class ChecksumStatus : std::int32_t {
    None,      // no line for its name
    Malformed, // the first line for its name is not name|64 lower-case hex digits
    Present,   // checksum holds the file's SHA-256
};

// What the catalogue's size section says of one entry's file.
enum class SizeStatus : std::int32_t {
    None,      // no line for its name
    Malformed, // the first line for its name is not name|decimal bytes
    Present,   // size holds the file's length
};

// One program of the catalogue. Fixed size, so the whole list lives in one
// zero-filled block.
struct CatalogueEntry {
    char fileName[FileNameFieldSize];  // at most MaxFileNameLength characters, always terminated
    char note[12];              // at most 11 characters, always terminated
    FileTime fileTime;          // the catalogue's local date and time, as UTC
    std::int32_t number;
    std::int32_t version[4];    // most significant first
    std::int32_t needsUpdate;   // an installed copy has another version
    std::int32_t downloaded;    // the new file is in the temporary folder
    ChecksumStatus checksumStatus;
    Sha256Digest checksum;
    SizeStatus sizeStatus;       // what the [Sizes] section says of the entry's file
    std::uint64_t size;          // the file's length in bytes when sizeStatus is Present
};

constexpr int MaxCatalogueEntries = 100;
