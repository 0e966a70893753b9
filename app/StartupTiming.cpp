#include "app/StartupTiming.h"

#include <windows.h>

#include <cstdio>

#include "toolkit/KernelHandles.h"

namespace {
LARGE_INTEGER startCount{};
bool reported = false;
}

void markProgramStart()
{
    QueryPerformanceCounter(&startCount);
}

void reportFirstPaint()
{
    if (reported)
        return;
    reported = true;
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("KESTREL_TIMING", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    long long micros = (now.QuadPart - startCount.QuadPart) * 1000000 / frequency.QuadPart;
    char text[64];
    int size = std::snprintf(text, sizeof text, "startup_us=%lld\n", micros);
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file.valid())
        WriteFile(file.get(), text, static_cast<DWORD>(size), &written, nullptr);
}
