#pragma once
#include "toolkit/core/PathText.h"
#include "toolkit/FileIdentity.h"

#include <cstddef>

// The folder of one Update's downloaded programs: made fresh under the
// temporary folder (a folder that exists already is never taken over, see
// app/core/RunFolderName.h) and removed by remove or when the object goes,
// through a handle and only while it is still the folder made (by its
// identity). The files in it must be gone by then. An elevated Kestrel gives
// it an access list for Administrators and SYSTEM alone
// (app/AdministratorsOnlyAccess.h).
class RunFolder {
public:

    RunFolder() = default;
    ~RunFolder();
    RunFolder(const RunFolder &) = delete;
    RunFolder &operator=(const RunFolder &) = delete;

    // temporaryFolder ends in a backslash. False when no new folder could be made.
    bool create(const char *temporaryFolder);
    // The folder's path and fileName into out (outSize bytes); false when it
    // does not fit or there is no folder.
    bool pathOf(const char *fileName, char *out, std::size_t outSize) const;
    // Removes the folder, once; it must be empty by then.
    void remove();
    // The folder's path, ending in a backslash; empty when there is none.
    const char *path() const { return path_; }

private:
    char path_[PathBufferSize] = "";
    FileIdentity identity_{};
};
