#pragma once
#include <windows.h>

#include "app/core/ReplaceReason.h"

// The new copy of a program beside one installed target, and its move over
// the target: the target is, at every moment and whatever fails, either the
// old program byte for byte or the complete new file. A copy not moved in is
// removed when the object goes.
//
// Refused without touching anything: a target that is missing, a folder, or
// read-only, hidden or a system file (refusesTargetAttributes), and one in a
// folder path (with its final backslash) longer than MAX_PATH - 14
// characters, where the copy's unique name cannot be made. The program this
// process runs from is moved aside for the new copy (app/RunningProgram.h);
// any other target that is running or held open fails at the final move.
class ReplacementCopy {
public:
    ReplacementCopy() = default;
    ~ReplacementCopy();
    ReplacementCopy(const ReplacementCopy &) = delete;
    ReplacementCopy &operator=(const ReplacementCopy &) = delete;

    // Writes every byte behind source (read from its start; the handle needs
    // read access) into a new file under a unique name in target's folder,
    // gives it source's creation, access and write times and flushes it. A
    // copy whose times cannot be set is kept with the times it has: the date
    // never decides whether a program is replaced.
    bool write(HANDLE source, const char *target);
    // The copy written, while it is there.
    const char *path() const { return path_; }
    // The last step: the copy moved over the target in one call, tried again
    // while another program briefly holds either file.
    bool moveOverTarget();
    // Removes the copy, if one is there.
    void discard();

    // What made write or moveOverTarget fail.
    const ReplaceFacts &failure() const { return facts_; }

private:
    bool fail(DWORD error);

    char target_[MAX_PATH] = "";
    char path_[MAX_PATH] = "";
    ReplaceFacts facts_{};
};
