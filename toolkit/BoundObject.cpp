#include "toolkit/BoundObject.h"

void BoundObject::bind(HWND window, BoundObject *object)
{
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

BoundObject *BoundObject::lookUp(HWND window, Kind kind)
{
    // Another process's slot holds an address of that process, not an object of ours.
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process != GetCurrentProcessId())
        return nullptr;
    return lookUpOwn(window, kind);
}

BoundObject *BoundObject::lookUpOwn(HWND window, Kind kind)
{
    auto *object = reinterpret_cast<BoundObject *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return object && object->kind_ == kind ? object : nullptr;
}
