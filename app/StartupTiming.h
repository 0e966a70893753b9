#pragma once

// Start-up timing for tools/measure.sh: when the environment variable
// KESTREL_TIMING names a file, the time from the entry point to the first
// paint of the main window is written there once, in microseconds.
void markProgramStart();
void reportFirstPaint();
