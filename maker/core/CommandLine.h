#pragma once

// The tool's command line, taken apart without touching any file.
//
//   keygen KEYFILE
//   build FOLDER (--key KEYFILE | --unsigned) [--expires M/D/YY] [--out FILE]
//   check FILE [--folder FOLDER] [--key PUBLIC-KEY-BASE64 | --key-file KEYFILE]
//   --help

enum class CommandKind { Usage, Help, Keygen, Build, Check };

struct CommandLine {
    CommandKind kind = CommandKind::Usage;
    const char *target = nullptr;   // KEYFILE, FOLDER or FILE
    const char *keyFile = nullptr;  // build --key, check --key-file
    const char *publicKey = nullptr; // check --key
    const char *expires = nullptr;
    const char *out = nullptr;
    const char *folder = nullptr;
    bool unsignedBuild = false;     // build --unsigned
    // Why the line is not understood, for a Usage result; empty when no
    // arguments were given at all.
    const char *error = "";
};

// Reads argv[1..argc). Anything not understood gives kind Usage and an error.
CommandLine parseCommandLine(int argc, const char *const *argv);

// The usage text printed by --help and after a usage error.
extern const char UsageText[];
