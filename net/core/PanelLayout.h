#pragma once
#include <cstddef>

// Where the download progress panel goes and what its lines say.

struct PanelPlacement {
    int x, y, width, height;
};

// A panel columns + 12 average characters wide and six lines high, centred in
// the parent's client area (halves rounded toward zero).
PanelPlacement placeProgressPanel(int clientWidth, int clientHeight, int columns, int charWidth, int lineHeight);

// Left edge of the text lines, from the panel's client edge.
int panelTextIndent(int charWidth);

// Room for one number line: ten digits, the longest suffix and the terminator fit.
constexpr std::size_t PanelLineSize = 60;

// "<value> Total bytes" and "<value> bytes/sec" into out (PanelLineSize bytes).
void formatTotalLine(unsigned totalBytes, char *out, std::size_t outSize);
void formatRateLine(unsigned bytesPerSecond, char *out, std::size_t outSize);
