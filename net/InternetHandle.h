#pragma once
#include <windows.h>
#include <wininet.h>

// A WinINet connection or request handle, closed exactly once.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET h = nullptr) : handle_(h) {}
    ~InternetHandle()
    {
        if (handle_)
            InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle &) = delete;
    InternetHandle &operator=(const InternetHandle &) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};
