#include "net/core/PanelLayout.h"

#include "toolkit/core/TextWriter.h"

PanelPlacement placeProgressPanel(int clientWidth, int clientHeight, int columns, int charWidth, int lineHeight)
{
    PanelPlacement p;
    p.width = (columns + 12) * charWidth;
    p.height = 6 * lineHeight;
    p.x = clientWidth / 2 - p.width / 2;
    p.y = clientHeight / 2 - p.height / 2;
    return p;
}

int panelTextIndent(int charWidth)
{
    return 7 * charWidth;
}

void formatTotalLine(unsigned totalBytes, char *out, std::size_t outSize)
{
    TextWriter(out, outSize).number(totalBytes).text(" Total bytes");
}

void formatRateLine(unsigned bytesPerSecond, char *out, std::size_t outSize)
{
    TextWriter(out, outSize).number(bytesPerSecond).text(" bytes/sec");
}
