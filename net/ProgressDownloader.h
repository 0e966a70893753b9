#pragma once
#include "net/Downloader.h"
#include "toolkit/core/IntervalGate.h"
#include "net/core/PanelLayout.h"
#include "toolkit/BoundObject.h"

// Registers the panel's window class "TheInternet"; the 16-bit class atom, 0 on failure.
ATOM registerProgressWindowClass();

// The downloader that shows its progress in a small framed panel centred in
// the main window: the file name, the bytes so far and the average rate, and
// lets waiting window messages through while it fetches.
//
// Blocks arrive far faster than anyone can read a count or notice a click's
// delay, and a repaint or a pump costs as much as receiving several blocks:
// so the panel is repainted at most every RepaintInterval and messages are let
// through at most every PumpInterval, and both once more when the fetch ends,
// so that the panel shows the whole count before it closes.
class ProgressDownloader : public Downloader, public BoundObject {
public:
    static constexpr int PanelId = 151;
    // In microseconds.
    static constexpr std::uint64_t RepaintInterval = 30000;
    static constexpr std::uint64_t PumpInterval = 10000;

    ProgressDownloader() : BoundObject(Kind::Panel) {}

    ~ProgressDownloader() override;

    // 0 when the display's text metrics cannot be read (no panel); else 1,
    // also when the panel itself could not be made.
    int createProgressWindow(HWND parent, int columns, COLORREF colour);
    void destroyProgressWindow();
    // Repaints the panel and pumps waiting messages, each when due; 1 when
    // the pump found a quit message waiting.
    int onProgress() override;
    // Repaints the panel with the fetch's last figures, then pumps.
    void onFetchEnd() override;

    // Paints the panel's whole face into rect of dc.
    void draw(HDC dc, const RECT &rect);
    // Brings a face painted before up to date: only the byte count line when
    // nothing else changed, else the whole face. The count changes at every
    // block; repainting just its line keeps the panel's cost per block low,
    // and the whole face is still repainted whenever the rate changes (about
    // once a second), which repairs any damage from overlapping siblings.
    void refresh(HDC dc, const RECT &rect);

    HWND progressWindow = nullptr;
    int charWidth = 0;
    int lineHeight = 0;
    COLORREF backgroundColour = 0;

protected:
    // A monotonic clock in microseconds; replaced in tests to set the pace.
    virtual std::uint64_t microsecondsNow();

private:
    struct PanelTexts {
        // The last part of a URL of at most UrlBufferSize bytes.
        char name[UrlBufferSize];
        char total[PanelLineSize];
        char rate[PanelLineSize];
    };
    PanelTexts currentTexts();
    void drawLine(HDC dc, const RECT &rect, int line, const char *text);
    void repaint();

    bool facePainted_ = false;
    IntervalGate repaintGate_{RepaintInterval};
    IntervalGate pumpGate_{PumpInterval};
    PanelTexts painted_{};

    friend ATOM registerProgressWindowClass();
    static LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
