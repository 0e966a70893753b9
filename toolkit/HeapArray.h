#pragma once
#include <windows.h>

#include <new>
#include <type_traits>

// An array of count objects in a block of the process heap: the objects are
// built in place when the block is had and destroyed before it goes back.
// The program allocates through the platform, not the C++ library.
template <typename T>
class HeapArray {
public:
    HeapArray() = default;
    ~HeapArray() { release(); }
    HeapArray(const HeapArray &) = delete;
    HeapArray &operator=(const HeapArray &) = delete;

    // Replaces the array by count new objects; false, with no array, when
    // count is 0 or the memory cannot be had.
    bool allocate(SIZE_T count)
    {
        release();
        if (count == 0 || count > static_cast<SIZE_T>(-1) / sizeof(T))
            return false;
        void *block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * sizeof(T));
        if (!block)
            return false;
        items_ = static_cast<T *>(block);
        for (count_ = 0; count_ < count; ++count_)
            ::new (static_cast<void *>(items_ + count_)) T();
        return true;
    }
    // Grows or shrinks the array to count objects, keeping those that stay;
    // new ones are zero-filled. For plain records only, which may be moved
    // as bytes. False, with the array unchanged, when memory is short.
    bool resize(SIZE_T count)
    {
        static_assert(std::is_trivially_copyable<T>::value, "moved as bytes");
        if (!items_)
            return allocate(count);
        if (count == 0 || count > static_cast<SIZE_T>(-1) / sizeof(T))
            return false;
        void *block = HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, items_, count * sizeof(T));
        if (!block)
            return false;
        items_ = static_cast<T *>(block);
        count_ = count;
        return true;
    }
    void release()
    {
        if (!items_)
            return;
        for (SIZE_T index = count_; index > 0; --index)
            items_[index - 1].~T();
        count_ = 0;
        HeapFree(GetProcessHeap(), 0, items_);
        items_ = nullptr;
    }

    T *get() const { return items_; }
    SIZE_T size() const { return count_; }
    T &operator[](SIZE_T index) const { return items_[index]; }
    explicit operator bool() const { return items_ != nullptr; }

private:
    T *items_ = nullptr;
    SIZE_T count_ = 0;
};
