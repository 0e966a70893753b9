#pragma once
#include "catalogue/CatalogueEntry.h"
#include "catalogue/core/CalendarTime.h"
#include "catalogue/core/CatalogueChecksums.h"
#include "catalogue/core/CatalogueExpiry.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/CatalogueSizes.h"
#include "catalogue/core/SignedCatalogue.h"
#include "maker/core/Findings.h"

#include <cstddef>
#include <cstdint>

// One program of the catalogue as Kestrel would use it: the first entry of
// its name, with the first checksum and size lines naming it.
struct CheckedProgram {
    char name[FileNameFieldSize];
    std::int32_t version[4];
    int line;
    int checksumLine; // 0: no checksum line names the program
    bool checksumWellFormed;
    Sha256Digest checksum;
    int sizeLine; // 0: no size line names the program
    bool sizeWellFormed;
    std::uint64_t size;
};

// What the check learns from a catalogue's text for the checks that need the
// world outside it: the program files, the key and today's date.
struct CatalogueFacts {
    CheckedProgram programs[MaxCatalogueEntries];
    int programCount = 0;

    CatalogueIssued issued{};
    int issuedLine = 0; // the time's line, or the header's when it is the last line

    CatalogueExpiry expiry{};
    int expiryLine = 0; // likewise for the date

    SignedCatalogue signature{};
};

// Reads the catalogue text the way Kestrel does and reports every problem
// that lies in the text itself, each on the line an editor shows it on (a
// line over 127 characters, which Kestrel reads in pieces, is one line).
// Names are compared with same, as Kestrel's entry lookup compares them.
void checkCatalogueText(const char *data, std::size_t size, SameFileName same, Findings &findings,
                        CatalogueFacts &facts);

// With a key to check against, a catalogue without a signature section is a
// problem: Kestrel built with the key refuses it. (A signature line of the
// wrong form is reported with the text.)
void checkSignatureForm(const CatalogueFacts &facts, Findings &findings);

// Days ahead of today below which a catalogue's expiry earns a warning.
constexpr long ExpiryWarningDays = 30;

// An expiry date in the past, or none that Kestrel can read, is a problem;
// one less than ExpiryWarningDays ahead a warning.
void checkExpiry(const CatalogueFacts &facts, const CalendarTime &today, Findings &findings);

// An issue time after the end of the expiry day (issuedDay: the issue time
// as a local date) is a problem: Kestrel refuses such a signed catalogue as
// not the maker's (issuedAfterLastDay).
void checkIssuedByExpiry(const CatalogueFacts &facts, const CalendarTime &issuedDay, Findings &findings);
