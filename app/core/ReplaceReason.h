#pragma once
#include "toolkit/core/FileAttributes.h"

#include <cstdint>

// Why an installed program could not be replaced, as the user is told it.
enum class ReplaceReason {
    InUse,              // a program runs from it or holds it open
    NeedsAdministrator, // no rights to the file or its folder
    ReadOnly,
    HiddenOrSystem,
    FolderChanged,      // its folder or the program is no longer the one searched
    OtherError,         // the system's own text for the failing step's error
};

// What is known of a replacement that failed.
struct ReplaceFacts {
    // The target's attribute bits, as read before anything was written.
    std::uint32_t targetAttributes;
    // The error code of the step that failed; 0 when the target's attributes
    // alone refused it.
    std::uint32_t error;
    // That step was the move of the new copy over the target.
    bool atFinalMove;
    // After such a move failed for a reason needsInUseProbe names: the error
    // of opening the target for writing with full sharing, 0 when it opened.
    std::uint32_t openForWritingError;
    // The folder or the program was found changed since the search: nothing
    // was written there.
    bool folderChanged;
};

// True when a target with these attributes is left alone without trying:
// Windows refuses to overwrite read-only, hidden and system files, and Wine
// running as root does not, so the attributes are checked beforehand.
bool refusesTargetAttributes(std::uint32_t attributes);

// A move over a running program fails with access denied, on Windows and
// under Wine alike, and one over a file held open with a sharing violation:
// after either the target is opened for writing to tell "in use" apart.
bool needsInUseProbe(std::uint32_t moveError);

ReplaceReason replaceReason(const ReplaceFacts &facts);
