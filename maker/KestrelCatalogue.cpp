// KestrelCatalogue.exe: the maker's tool that makes the signing key, writes
// and signs the catalogue from a folder of release files, and checks a
// catalogue the way Kestrel reads it.
#include "maker/Commands.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.kind) {
    case CommandKind::Help:
        std::fputs(UsageText, stdout);
        return ExitDone;
    case CommandKind::Keygen:
        return runKeygen(line);
    case CommandKind::Build:
        return runBuild(line);
    case CommandKind::Check:
        return runCheck(line);
    case CommandKind::Usage:
        break;
    }
    if (line.error[0] != '\0')
        std::fprintf(stderr, "KestrelCatalogue: %s\n", line.error);
    std::fputs(UsageText, stderr);
    return ExitUsage;
}
