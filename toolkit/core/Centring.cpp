#include "toolkit/core/Centring.h"

namespace {
// One axis: centred on the reference, kept inside its far edge, never negative.
int centredStart(int refStart, int refEnd, int size)
{
    int centred = refStart + (refEnd - refStart + 1) / 2 - size / 2;
    int farthest = refEnd - size;
    int start = centred < farthest ? centred : farthest;
    return start > 0 ? start : 0;
}
}

Placement centredPlacement(const Box &reference, const Box &window)
{
    Placement p;
    p.width = window.right - window.left + 1;
    p.height = window.bottom - window.top + 1;
    p.x = centredStart(reference.left, reference.right, p.width);
    p.y = centredStart(reference.top, reference.bottom, p.height);
    return p;
}
