#pragma once
#include "toolkit/KernelHandles.h"

// The mutex every Kestrel holds while it runs: "Global\Kestrel-" and the
// user's SID. Global, because a task run while nobody is signed in runs in
// another session than the user's desktop. Released when the object ends.
class UserMutex {
public:
    UserMutex() = default;
    UserMutex(const UserMutex &) = delete;
    UserMutex &operator=(const UserMutex &) = delete;

    // Creates or opens the mutex; true when another Kestrel of this user
    // already has it. A mutex that cannot be named or made is taken as no
    // other Kestrel: updates must not stop for it.
    bool acquireFindsAnother();

private:
    FileHandle mutex_{nullptr};
};
