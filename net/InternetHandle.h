#pragma once
#include <windows.h>
#include <wininet.h>

// A WinINet connection or request handle, closed exactly once.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET h = nullptr) : handle_(h) {}
    ~InternetHandle() { reset(); }
    InternetHandle(const InternetHandle &) = delete;
    InternetHandle &operator=(const InternetHandle &) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Closes the handle held, if any, and holds h.
    void reset(HINTERNET h = nullptr)
    {
        if (handle_)
            InternetCloseHandle(handle_);
        handle_ = h;
    }

private:
    HINTERNET handle_;
};
