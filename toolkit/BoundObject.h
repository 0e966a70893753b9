#pragma once
#include <windows.h>

// What a window's user-data slot holds: the object that answers for the
// window, tagged with its kind. Window objects, control objects and panels
// with a procedure of their own all keep themselves there, so a lookup by
// handle names the kind it expects and gets nothing from a window bound to
// another kind (or from another process's window): a message from such a
// window can never be handled through the wrong type.
class BoundObject {
public:
    enum class Kind { Window, Control, Panel };

    explicit BoundObject(Kind kind) : kind_(kind) {}

    // Keeps object (or nothing, when null) in window's user-data slot.
    static void bind(HWND window, BoundObject *object);
    // The object of that kind bound to window, else null. For any handle a
    // message names, which may be another process's window.
    static BoundObject *lookUp(HWND window, Kind kind);
    // The same for a window of this process, such as the one a window
    // procedure of ours is called for; it skips the owner check, which would
    // otherwise cost a call at every message.
    static BoundObject *lookUpOwn(HWND window, Kind kind);

private:
    Kind kind_;
};
