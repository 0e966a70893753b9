#include "maker/core/CommandLine.h"

#include <cstring>

const char UsageText[] =
    "Usage:\n"
    "  KestrelCatalogue keygen KEYFILE\n"
    "      Makes an ECDSA P-256 key pair, writes the private key to KEYFILE (never\n"
    "      over an existing file) and prints the public key for the Kestrel build.\n"
    "  KestrelCatalogue build FOLDER [--key KEYFILE] [--expires M/D/YY] [--out FILE]\n"
    "      Writes the catalogue of every *.exe in FOLDER (default FOLDER\\Kestrel.ini),\n"
    "      signed with KEYFILE if given, expiring on the date given (default: one\n"
    "      year from today).\n"
    "  KestrelCatalogue check FILE [--folder FOLDER] [--key PUBLIC-KEY-BASE64 | --key-file KEYFILE]\n"
    "      Reports every problem Kestrel would have with the catalogue FILE, against\n"
    "      the program files in FOLDER and the key if given.\n"
    "  KestrelCatalogue --help\n"
    "Exit code: 0 all is well, 1 problems found, 2 usage or file error.\n";

namespace {

struct Option {
    const char *name;
    const char *CommandLine::*field;
};

const Option BuildOptions[] = {
    {"--key", &CommandLine::keyFile}, {"--expires", &CommandLine::expires}, {"--out", &CommandLine::out}};
const Option CheckOptions[] = {
    {"--folder", &CommandLine::folder}, {"--key", &CommandLine::publicKey}, {"--key-file", &CommandLine::keyFile}};

CommandLine usage(const char *error)
{
    CommandLine line;
    line.error = error;
    return line;
}

template <std::size_t N>
CommandLine readOptions(CommandLine line, int argc, const char *const *argv, const Option (&options)[N])
{
    for (int i = 3; i < argc; i += 2) {
        const Option *found = nullptr;
        for (const Option &option : options)
            if (std::strcmp(argv[i], option.name) == 0)
                found = &option;
        if (!found)
            return usage("unknown option");
        if (i + 1 >= argc)
            return usage("an option lacks its value");
        if (line.*found->field)
            return usage("an option is given twice");
        line.*found->field = argv[i + 1];
    }
    return line;
}

} // namespace

CommandLine parseCommandLine(int argc, const char *const *argv)
{
    if (argc < 2)
        return usage("");
    const char *command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 || std::strcmp(command, "/?") == 0)
        return argc == 2 ? CommandLine{CommandKind::Help} : usage("--help takes no arguments");

    CommandLine line;
    if (std::strcmp(command, "keygen") == 0)
        line.kind = CommandKind::Keygen;
    else if (std::strcmp(command, "build") == 0)
        line.kind = CommandKind::Build;
    else if (std::strcmp(command, "check") == 0)
        line.kind = CommandKind::Check;
    else
        return usage("unknown command");
    if (argc < 3 || argv[2][0] == '-')
        return usage("the command lacks its file or folder");
    line.target = argv[2];

    switch (line.kind) {
    case CommandKind::Keygen:
        return argc == 3 ? line : usage("keygen takes only the key file");
    case CommandKind::Build:
        return readOptions(line, argc, argv, BuildOptions);
    default:
        line = readOptions(line, argc, argv, CheckOptions);
        if (line.publicKey && line.keyFile)
            return usage("give --key or --key-file, not both");
        return line;
    }
}
