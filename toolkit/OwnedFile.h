#pragma once
#include "toolkit/FileIdentity.h"
#include "toolkit/KernelHandles.h"

// A file this process has just made: created new (CREATE_NEW, so never a
// name that stood before, a link included) under a name of its own in a
// folder, held from its creation, its identity kept. It goes through its
// handle when the object goes, unless it was moved over another name.
class OwnedFile {
public:
    // Characters of the names made: a three-letter prefix, four hexadecimal
    // digits and ".tmp".
    static constexpr std::size_t NameLength = 11;

    OwnedFile() = default;
    ~OwnedFile();
    OwnedFile(const OwnedFile &) = delete;
    OwnedFile &operator=(const OwnedFile &) = delete;

    // Creates the file in folder (ending in a backslash) under the first
    // free name made from prefix, with access (DELETE is always added),
    // sharing reading and deletion, and checks through its handle that it
    // lies there. False with the last error set when none could be made.
    bool create(const char *folder, const char *prefix, DWORD access);

    HANDLE get() const { return file_.get(); }
    // Its name in the folder, and its whole path as created.
    const char *name() const;
    const char *path() const { return path_; }
    const FileIdentity &identity() const { return identity_; }

    // Swaps the handle for one on the same file that can neither read nor
    // write, only be renamed or removed: another program may then read the
    // file (the platform's version functions refuse a file held for
    // writing). Nothing is looked up by path.
    bool stopWriting();

    // Moves the file over name by path (MoveFileExA, replacing; a link at
    // name is replaced itself, what it points to is left alone), once its
    // own path has just been proven to be it. The file is no longer held
    // afterwards: moved, name has identity(); not moved, it is removed.
    bool moveOver(const char *name);

    // Removes the file through its handle, while it is held.
    void remove();
    // The file is kept where it is now and no longer held.
    void release();

private:
    FileHandle file_;
    char path_[MAX_PATH] = "";
    FileIdentity identity_{};
};
