#include "net/ProgressDownloader.h"

#include "toolkit/GdiHandles.h"
#include "toolkit/MessagePump.h"
#include "toolkit/MonotonicClock.h"
#include "toolkit/core/TextWriter.h"

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
        bind(window, static_cast<BoundObject *>(create->lpCreateParams));
    }
    auto *owner = static_cast<ProgressDownloader *>(lookUpOwn(window, Kind::Panel));
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
    facePainted_ = false;
    repaintGate_.reset();
    pumpGate_.reset();
    progressWindow = CreateWindowExA(WS_EX_TOPMOST, PanelClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_DLGFRAME,
                                     place.x, place.y, place.width, place.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(PanelId)), nullptr,
                                     static_cast<BoundObject *>(this));
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
    std::uint64_t now = microsecondsNow();
    if (repaintGate_.due(now))
        repaint();
    return pumpGate_.due(now) ? pumpPendingMessages() : 0;
}

void ProgressDownloader::onFetchEnd()
{
    repaint();
    // A quit message found here stays queued for the main loop: the fetch
    // is over either way.
    pumpPendingMessages();
}

std::uint64_t ProgressDownloader::microsecondsNow()
{
    return monotonicMicroseconds();
}

void ProgressDownloader::repaint()
{
    if (!progressWindow)
        return;
    WindowDC dc(progressWindow);
    if (!dc)
        return;
    RECT client;
    GetClientRect(progressWindow, &client);
    refresh(dc.get(), client);
}

ProgressDownloader::PanelTexts ProgressDownloader::currentTexts()
{
    PanelTexts texts;
    TextWriter(texts.name, sizeof texts.name).text(currentName ? currentName : "");
    formatTotalLine(totalBytes, texts.total, sizeof texts.total);
    formatRateLine(bytesPerSecond(), texts.rate, sizeof texts.rate);
    return texts;
}

void ProgressDownloader::drawLine(HDC dc, const RECT &rect, int line, const char *text)
{
    RECT band{rect.left, rect.top + line * lineHeight, rect.right, rect.top + (line + 1) * lineHeight};
    ExtTextOutA(dc, rect.left + panelTextIndent(charWidth), band.top, ETO_OPAQUE, &band, text,
                static_cast<UINT>(std::strlen(text)), nullptr);
}

void ProgressDownloader::draw(HDC dc, const RECT &rect)
{
    PanelTexts texts = currentTexts();
    BrushOwner brush(CreateSolidBrush(backgroundColour));
    FillRect(dc, &rect, brush.get());
    SetBkColor(dc, backgroundColour);

    int x = rect.left + panelTextIndent(charWidth);
    TextOutA(dc, x, rect.top + lineHeight, texts.name, static_cast<int>(std::strlen(texts.name)));
    TextOutA(dc, x, rect.top + 2 * lineHeight, texts.total, static_cast<int>(std::strlen(texts.total)));
    TextOutA(dc, x, rect.top + 3 * lineHeight, texts.rate, static_cast<int>(std::strlen(texts.rate)));
    painted_ = texts;
    facePainted_ = true;
}

void ProgressDownloader::refresh(HDC dc, const RECT &rect)
{
    PanelTexts texts = currentTexts();
    if (!facePainted_ || std::strcmp(texts.name, painted_.name) != 0 || std::strcmp(texts.rate, painted_.rate) != 0) {
        draw(dc, rect);
        return;
    }
    if (std::strcmp(texts.total, painted_.total) != 0) {
        SetBkColor(dc, backgroundColour);
        drawLine(dc, rect, 2, texts.total);
        painted_ = texts;
    }
}
