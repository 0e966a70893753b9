#pragma once
#include <windows.h>

// The program's module instance, kept by the entry point and used for every
// resource load and window creation.
HINSTANCE programInstance();
void setProgramInstance(HINSTANCE instance);
