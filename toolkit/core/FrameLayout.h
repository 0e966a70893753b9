#pragma once

struct ChildPlace {
    int x, y, width, height;
};

// Where the frame's three children go in a client area: the button bar across
// the top, the status bar along the bottom at its own height (0 when hidden),
// and the list filling exactly the space between them.
struct FrameLayout {
    ChildPlace buttonBar;
    ChildPlace listBox;
    ChildPlace statusBar;
};

FrameLayout layOutFrame(int clientWidth, int clientHeight, int barHeight, int statusHeight);
