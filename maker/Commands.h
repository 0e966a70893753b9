#pragma once
#include "maker/core/CommandLine.h"

// The tool's three commands. Each returns the exit code: 0 all is well, 1
// problems were found, 2 a usage or file error.
constexpr int ExitDone = 0;
constexpr int ExitProblems = 1;
constexpr int ExitUsage = 2;

int runKeygen(const CommandLine &line);
int runBuild(const CommandLine &line);
int runCheck(const CommandLine &line);
