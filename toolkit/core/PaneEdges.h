#pragma once

// Right edges, in pixels, of the panes of a status window `statusWidth` wide.
// The last pane ends `count` character widths short of the right end, every
// pane after the first is exactly its declared number of characters wide, and
// the first pane takes what remains (its own declared width is not used).
// `widths` and `edges` hold `count` values; nothing is written when count < 1.
void computePaneEdges(int statusWidth, int averageCharWidth, const int *widths, int count,
                      int *edges);
