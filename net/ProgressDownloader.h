#pragma once
#include "net/Downloader.h"
#include "net/core/PanelLayout.h"
#include "toolkit/BoundObject.h"

#include <string>

// Registers the panel's window class "TheInternet"; the 16-bit class atom, 0 on failure.
ATOM registerProgressWindowClass();

// The downloader that shows its progress in a small framed panel centred in
// the main window: the file name, the bytes so far and the average rate,
// repainted after every block, and lets waiting window messages through.
class ProgressDownloader : public Downloader, public BoundObject {
public:
    static constexpr int PanelId = 151;

    ProgressDownloader() : BoundObject(Kind::Panel) {}

    ~ProgressDownloader() override;

    // 0 when the display's text metrics cannot be read (no panel); else 1,
    // also when the panel itself could not be made.
    int createProgressWindow(HWND parent, int columns, COLORREF colour);
    void destroyProgressWindow();
    // Repaints the panel, then pumps waiting messages; 1 when a quit message waits.
    int onProgress() override;

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

private:
    struct PanelTexts {
        std::string name;
        char total[PanelLineSize];
        char rate[PanelLineSize];
    };
    PanelTexts currentTexts();
    void drawLine(HDC dc, const RECT &rect, int line, const char *text);

    bool facePainted_ = false;
    PanelTexts painted_{};

    friend ATOM registerProgressWindowClass();
    static LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
