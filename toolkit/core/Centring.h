#pragma once

struct Box {
    int left, top, right, bottom;
};
struct Placement {
    int x, y, width, height;
};

// Where centreWindow puts a window whose rectangle is `window` over `reference`:
// the size grows by one pixel each way, the window is centred but kept inside
// the reference on the right and bottom, and never placed at a negative position.
Placement centredPlacement(const Box &reference, const Box &window);
