#pragma once
#include <cstddef>
#include <cstdint>

// The subfolders the search still has to enter, for every folder on the path
// from the root to the current one: each folder's list is pushed on top of
// its parent's while it is searched and dropped when the search leaves it.
// So what it holds grows with the width of the folders on one path, never
// with the size of the whole tree.
//
// Entries are addressed by their offset; an offset stays valid until the
// stack is cut back below it.
class SubfolderStack {
public:
    SubfolderStack() = default;
    ~SubfolderStack();
    SubfolderStack(const SubfolderStack &) = delete;
    SubfolderStack &operator=(const SubfolderStack &) = delete;

    // The offset the next entry will get: the start of a folder's list, and
    // the end of it once the folder has been read.
    std::size_t top() const { return used_; }
    // Adds a name of length bytes, its attributes and its short name (empty
    // when it has none); false when no memory is left for it (the stack is
    // unchanged then).
    bool push(const char *name, std::size_t length, std::uint32_t attributes, const char *shortName = "");
    // Drops every entry from offset on.
    void cutTo(std::size_t offset) { used_ = offset < used_ ? offset : used_; }

    const char *nameAt(std::size_t offset) const;
    const char *shortNameAt(std::size_t offset) const;
    std::uint32_t attributesAt(std::size_t offset) const;
    // The offset of the entry after the one at offset.
    std::size_t nextAfter(std::size_t offset) const;

private:
    char *bytes_ = nullptr;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
};
