#pragma once
#include <windows.h>

#include <string>
#include <vector>

// While alive, catches every message box the current thread opens: records its
// caption and text in order and closes it with OK, so code that shows warnings
// can run in a test without a person.
class MessageBoxCatcher {
public:
    struct Box {
        std::string caption;
        std::string text;
    };

    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher &) = delete;
    MessageBoxCatcher &operator=(const MessageBoxCatcher &) = delete;

    const std::vector<Box> &boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
    std::vector<Box> boxes_;
};
