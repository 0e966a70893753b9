#include "maker/core/CommandLine.h"

#include <cstring>

const char UsageText[] =
    "Usage:\n"
    "  KestrelCatalogue keygen KEYFILE\n"
    "      Makes an ECDSA P-256 key pair, writes the private key to KEYFILE (never\n"
    "      over an existing file) and prints the public key for the Kestrel build.\n"
    "  KestrelCatalogue build FOLDER (--key KEYFILE | --unsigned) [--expires M/D/YY] [--out FILE]\n"
    "      Writes the catalogue of every *.exe in FOLDER (default FOLDER\\Kestrel.ini),\n"
    "      signed with KEYFILE or, said outright, not signed, expiring on the date\n"
    "      given (default: 90 days from today; at most 366 days ahead).\n"
    "  KestrelCatalogue check FILE [--folder FOLDER] [--key PUBLIC-KEY-BASE64 | --key-file KEYFILE]\n"
    "      Reports every problem Kestrel would have with the catalogue FILE, against\n"
    "      the program files in FOLDER and the key if given (without one, the\n"
    "      signature is not checked).\n"
    "  KestrelCatalogue --help\n"
    "Exit code: 0 all is well, 1 problems found, 2 usage or file error.\n";

namespace {

// An option takes a value into field, or is a flag without one.
struct Option {
    const char *name;
    const char *CommandLine::*field;
    bool CommandLine::*flag;
};

const Option BuildOptions[] = {{"--key", &CommandLine::keyFile, nullptr},
                               {"--expires", &CommandLine::expires, nullptr},
                               {"--out", &CommandLine::out, nullptr},
                               {"--unsigned", nullptr, &CommandLine::unsignedBuild}};
const Option CheckOptions[] = {{"--folder", &CommandLine::folder, nullptr},
                               {"--key", &CommandLine::publicKey, nullptr},
                               {"--key-file", &CommandLine::keyFile, nullptr}};

CommandLine usage(const char *error)
{
    CommandLine line;
    line.error = error;
    return line;
}

template <std::size_t N>
CommandLine readOptions(CommandLine line, int argc, const char *const *argv, const Option (&options)[N])
{
    for (int i = 3; i < argc; ++i) {
        const Option *found = nullptr;
        for (const Option &option : options)
            if (std::strcmp(argv[i], option.name) == 0)
                found = &option;
        if (!found)
            return usage("unknown option");
        if (found->flag) {
            if (line.*found->flag)
                return usage("an option is given twice");
            line.*found->flag = true;
            continue;
        }
        if (i + 1 >= argc)
            return usage("an option lacks its value");
        if (line.*found->field)
            return usage("an option is given twice");
        line.*found->field = argv[++i];
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
        line = readOptions(line, argc, argv, BuildOptions);
        // Publishing without a signature must be a choice, never an oversight.
        if (line.kind == CommandKind::Build && !line.keyFile == !line.unsignedBuild)
            return usage("build needs --key KEYFILE or --unsigned, one of them");
        return line;
    default:
        line = readOptions(line, argc, argv, CheckOptions);
        if (line.publicKey && line.keyFile)
            return usage("give --key or --key-file, not both");
        return line;
    }
}
