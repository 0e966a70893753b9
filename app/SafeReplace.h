#pragma once
#include <windows.h>

#include "app/core/ReplaceReason.h"
#include "catalogue/ListedCopies.h"
#include "toolkit/KernelHandles.h"
#include "toolkit/OwnedFile.h"

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
//
// The target's folder is held from before the copy is made until the move is
// done or the copy removed, with a handle that denies deletion: the folder
// can then be neither renamed nor replaced by a link. Through that handle and
// one on the target, both must still be the folder and the program the
// search listed (their identities, ListedCopy), or nothing is written there.
// The copy is made new, checked through its own handle to lie in the held
// folder, written, moved over the target and, if it must go, removed, all
// through its handle; no step looks it up by path again.
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
    // never decides whether a program is replaced. target is refused as
    // changed when kept is null.
    bool write(HANDLE source, const char *target, const ListedCopy *kept);
    // The copy written, while it is there, for reading only.
    const char *path() const { return copy_.path(); }
    // The last step: the copy moved over the target in one call, tried again
    // while another program briefly holds either file.
    bool moveOverTarget();
    // Removes the copy, if one is there, and lets the folder go.
    void discard();

    // What made write or moveOverTarget fail.
    const ReplaceFacts &failure() const { return facts_; }

private:
    bool fail(DWORD error);
    bool folderChanged();
    // Holds target's folder and opens the target; true when both are still
    // the listed ones.
    bool pinListedCopy(const ListedCopy &kept);

    char target_[MAX_PATH] = "";
    const char *targetName_ = target_;
    FileHandle folder_;
    FileHandle program_;
    OwnedFile copy_;
    ReplaceFacts facts_{};
};
