#include "toolkit/core/PaneEdges.h"

void computePaneEdges(int statusWidth, int averageCharWidth, const int *widths, int count,
                      int *edges)
{
    if (count < 1)
        return;
    edges[count - 1] = statusWidth - count * averageCharWidth;
    for (int i = count - 1; i >= 1; --i)
        edges[i - 1] = edges[i] - widths[i] * averageCharWidth;
}
