#pragma once
#include <windows.h>

// Owners for kernel handles: files, directory enumerations and global memory.

class FileHandle {
public:
    explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : handle_(h) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void reset(HANDLE h)
    {
        close();
        handle_ = h;
    }
    void close()
    {
        if (valid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h = INVALID_HANDLE_VALUE) : handle_(h) {}
    ~FindHandle() { close(); }
    FindHandle(const FindHandle &) = delete;
    FindHandle &operator=(const FindHandle &) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h)
    {
        close();
        handle_ = h;
    }
    void close()
    {
        if (valid())
            FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

// A block from GlobalAlloc, freed with GlobalFree.
class GlobalBlock {
public:
    GlobalBlock() = default;
    GlobalBlock(UINT flags, SIZE_T size) : memory_(GlobalAlloc(flags, size)) {}
    ~GlobalBlock() { free(); }
    GlobalBlock(const GlobalBlock &) = delete;
    GlobalBlock &operator=(const GlobalBlock &) = delete;
    void *get() const { return memory_; }
    explicit operator bool() const { return memory_ != nullptr; }
    bool allocate(UINT flags, SIZE_T size)
    {
        free();
        memory_ = GlobalAlloc(flags, size);
        return memory_ != nullptr;
    }
    void free()
    {
        if (memory_)
            GlobalFree(memory_);
        memory_ = nullptr;
    }

private:
    HGLOBAL memory_ = nullptr;
};
