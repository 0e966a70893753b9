#include "net/ProgressDownloader.h"

#include "net/core/PanelLayout.h"
#include "toolkit/GdiHandles.h"
#include "toolkit/MessagePump.h"

#include <cstring>

namespace {
const char PanelClassName[] = "TheInternet";
}

ATOM registerProgressWindowClass()
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_BYTEALIGNWINDOW | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = ProgressDownloader::panelProc;
    windowClass.lpszClassName = PanelClassName;
    return RegisterClassA(&windowClass);
}

// The panel repaints itself when it is uncovered, so it stays readable while
// a transfer waits for data; it forgets itself when its parent takes it down.
LRESULT CALLBACK ProgressDownloader::panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *owner = reinterpret_cast<ProgressDownloader *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (owner && message == WM_PAINT) {
        PaintCycle paint(window);
        RECT client;
        GetClientRect(window, &client);
        owner->draw(paint.dc(), client);
        return 0;
    }
    if (owner && message == WM_NCDESTROY && owner->progressWindow == window)
        owner->progressWindow = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
}

ProgressDownloader::~ProgressDownloader()
{
    destroyProgressWindow();
}

int ProgressDownloader::createProgressWindow(HWND parent, int columns, COLORREF colour)
{
    RECT client;
    GetClientRect(parent, &client);
    TEXTMETRICA metrics;
    {
        DeviceContextOwner info(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
        if (!info || !GetTextMetricsA(info.get(), &metrics))
            return 0;
    }
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    charWidth = metrics.tmAveCharWidth;
    PanelPlacement place = placeProgressPanel(client.right - client.left, client.bottom - client.top, columns,
                                              charWidth, lineHeight);
    // The first paint belongs to the coming fetch: no name or figures of the last one.
    totalBytes = 0;
    currentName = "";
    backgroundColour = colour;
    progressWindow = CreateWindowExA(WS_EX_TOPMOST, PanelClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_DLGFRAME,
                                     place.x, place.y, place.width, place.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(PanelId)), nullptr, this);
    onProgress();
    return 1;
}

void ProgressDownloader::destroyProgressWindow()
{
    HWND window = progressWindow;
    progressWindow = nullptr;
    if (window && IsWindow(window))
        DestroyWindow(window);
}

int ProgressDownloader::onProgress()
{
    if (progressWindow) {
        WindowDC dc(progressWindow);
        if (dc) {
            RECT client;
            GetClientRect(progressWindow, &client);
            draw(dc.get(), client);
        }
    }
    return pumpPendingMessages();
}

void ProgressDownloader::draw(HDC dc, const RECT &rect)
{
    BrushOwner brush(CreateSolidBrush(backgroundColour));
    FillRect(dc, &rect, brush.get());
    SetBkColor(dc, backgroundColour);

    int x = rect.left + panelTextIndent(charWidth);
    const char *name = currentName ? currentName : "";
    TextOutA(dc, x, rect.top + lineHeight, name, static_cast<int>(std::strlen(name)));
    char line[PanelLineSize];
    formatTotalLine(totalBytes, line, sizeof line);
    TextOutA(dc, x, rect.top + 2 * lineHeight, line, static_cast<int>(std::strlen(line)));
    formatRateLine(bytesPerSecond(), line, sizeof line);
    TextOutA(dc, x, rect.top + 3 * lineHeight, line, static_cast<int>(std::strlen(line)));
}
