#include "app/core/CommandLine.h"

#include "catalogue/core/AsciiCase.h"
#include "toolkit/core/TextWriter.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Takes the next word from text into out (cut to outSize - 1 characters);
// false when only blanks are left.
bool nextWord(const char *&text, char *out, std::size_t outSize)
{
    while (isBlank(*text))
        ++text;
    if (*text == '\0')
        return false;
    std::size_t length = 0;
    bool quoted = false;
    for (; *text && (quoted || !isBlank(*text)); ++text) {
        if (*text == '"')
            quoted = !quoted;
        else if (length + 1 < outSize)
            out[length++] = *text;
    }
    out[length] = '\0';
    return true;
}

// True when word is the option name, written with "/" or "-", in any case.
bool isOption(const char *word, const char *name)
{
    if (*word != '/' && *word != '-')
        return false;
    for (++word; *name; ++word, ++name) {
        if (lowerAscii(*word) != *name)
            return false;
    }
    return *word == '\0';
}

CommandLine refuse(CommandLine line, const char *first, const char *second = "")
{
    line.understood = false;
    TextWriter(line.notUnderstood, sizeof line.notUnderstood).text(first).text(second);
    return line;
}

} // namespace

CommandLine parseCommandLine(const char *arguments)
{
    CommandLine line;
    const char *text = arguments ? arguments : "";
    char word[sizeof line.logPath];
    if (!nextWord(text, word, sizeof word))
        return line;
    if (isOption(word, "update"))
        line.mode = RunMode::Update;
    else if (isOption(word, "check"))
        line.mode = RunMode::Check;
    else
        return refuse(line, word);

    if (!nextWord(text, word, sizeof word))
        return line;
    if (!isOption(word, "log"))
        return refuse(line, word);
    if (!nextWord(text, line.logPath, sizeof line.logPath) || line.logPath[0] == '\0')
        return refuse(line, word, " without a file name");
    if (nextWord(text, word, sizeof word))
        return refuse(line, word);
    return line;
}

int unattendedExitCode(RunMode mode, const RunOutcome &outcome)
{
    if (!outcome.started)
        return ExitStartFailed;
    if (outcome.outdated == 0)
        return ExitDone;
    if (mode == RunMode::Check)
        return ExitUpdatesWaiting;
    if (outcome.temporaryFolderFailed)
        return ExitStartFailed;
    return outcome.replaced >= outcome.outdated ? ExitDone : ExitNotAllReplaced;
}
