#include <gtest/gtest.h>

#include <string>

#include "app/core/CommandLine.h"

namespace {

struct LineCase {
    const char *arguments;
    RunMode mode;
    bool understood;
    const char *logPath;
    const char *notUnderstood;
};

TEST(CommandLine, ModesLogFileAndWhatIsNotUnderstood)
{
    const LineCase cases[] = {
        {"", RunMode::Interactive, true, "", ""},
        {"/update", RunMode::Update, true, "", ""},
        {"-UPDATE", RunMode::Update, true, "", ""},
        {" /Check ", RunMode::Check, true, "", ""},
        {"-check -LOG C:\\k.log", RunMode::Check, true, "C:\\k.log", ""},
        {"/update /log \"C:\\My Logs\\k.log\"", RunMode::Update, true, "C:\\My Logs\\k.log", ""},
        {"/updates", RunMode::Interactive, false, "", "/updates"},
        {"/log x.log /update", RunMode::Interactive, false, "", "/log"},
        {"/check /update", RunMode::Check, false, "", "/update"},
        {"/check /log", RunMode::Check, false, "", "/log without a file name"},
        {"/check /log a.log extra", RunMode::Check, false, "a.log", "extra"},
    };
    for (const auto &c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(line.mode, c.mode) << c.arguments;
        EXPECT_EQ(line.understood, c.understood) << c.arguments;
        EXPECT_STREQ(line.logPath, c.logPath) << c.arguments;
        EXPECT_STREQ(line.notUnderstood, c.notUnderstood) << c.arguments;
    }
    // A word longer than the buffers is cut, never overrun.
    const std::string longWord = "/check /log " + std::string(1000, 'x');
    EXPECT_EQ(std::string(parseCommandLine(longWord.c_str()).logPath), std::string(259, 'x'));
}

TEST(CommandLine, ExitCodeOfEachOutcome)
{
    const struct {
        RunMode mode;
        RunOutcome outcome;
        int expected;
    } cases[] = {
        {RunMode::Check, {false, 0, false, 0}, ExitStartFailed},
        {RunMode::Update, {false, 0, false, 0}, ExitStartFailed},
        {RunMode::Check, {true, 0, false, 0}, ExitDone},
        {RunMode::Update, {true, 0, false, 0}, ExitDone},
        {RunMode::Check, {true, 3, false, 0}, ExitUpdatesWaiting},
        {RunMode::Update, {true, 3, false, 3}, ExitDone},
        {RunMode::Update, {true, 3, false, 2}, ExitNotAllReplaced},
        {RunMode::Update, {true, 3, false, 0}, ExitNotAllReplaced},
        {RunMode::Update, {true, 3, true, 0}, ExitStartFailed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(unattendedExitCode(c.mode, c.outcome), c.expected)
            << c.outcome.started << c.outcome.outdated << c.outcome.replaced;
}

} // namespace
