#pragma once

// Whether name matches pattern, where "*" stands for any run of characters
// (also none) and "?" for exactly one; letters A to Z match in either case,
// other bytes only themselves. So "*.exe" matches every name ending in
// ".exe" in any letter case, and nothing else, unlike the platform's own
// matching, which also tries a file's generated short name.
bool matchesNamePattern(const char *name, const char *pattern);
