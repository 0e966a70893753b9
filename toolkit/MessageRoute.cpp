#include "toolkit/MessageRoute.h"

namespace {
MessageRecorder *recorder_ = nullptr;
}

void recordMessagesWith(MessageRecorder *recorder)
{
    recorder_ = recorder;
}

int showMessage(HWND owner, const char *text, const char *caption, UINT type)
{
    if (recorder_) {
        recorder_->record(text, caption);
        return IDOK;
    }
    return MessageBoxA(owner, text, caption, type);
}
