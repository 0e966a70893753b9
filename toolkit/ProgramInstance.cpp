#include "toolkit/ProgramInstance.h"

namespace {
HINSTANCE currentInstance = nullptr;
}

HINSTANCE programInstance()
{
    return currentInstance ? currentInstance : GetModuleHandleA(nullptr);
}

void setProgramInstance(HINSTANCE instance)
{
    currentInstance = instance;
}
