#pragma once
#include <windows.h>

#include "toolkit/core/BriefHold.h"

// retryBriefHolds with the thread asleep during the pauses. The pauses are
// short and rare, so the window is not kept alive through them.
template <class Attempt>
DWORD retryWhileBrieflyHeld(Attempt attempt)
{
    return retryBriefHolds(attempt, [](unsigned milliseconds) { Sleep(milliseconds); });
}

// CreateFileA (no security attributes, no template) for a file this program
// has just written, tried again while another program briefly holds it. An
// invalid handle on failure, with the last error set.
HANDLE openJustWrittenFile(const char *path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
