#pragma once

// Byte-wise text helpers that leave bytes of 128 and above alone, whatever
// the code page.

// Turns A to Z into a to z in place.
void toLowerAscii(char *text);

// First position of wanted in text, or nullptr. An empty text holds nothing;
// an empty wanted text is found at the start of any other text.
const char *findSubstring(const char *text, const char *wanted);
