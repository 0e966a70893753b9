#include "maker/core/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLine parse(std::vector<const char *> arguments)
{
    arguments.insert(arguments.begin(), "KestrelCatalogue.exe");
    return parseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, TakesEachCommandWithItsOptions)
{
    CommandLine line = parse({"build", "D:\\rel", "--out", "x.ini", "--key", "k", "--expires", "1/2/30"});
    EXPECT_EQ(line.kind, CommandKind::Build);
    EXPECT_STREQ(line.target, "D:\\rel");
    EXPECT_STREQ(line.out, "x.ini");
    EXPECT_STREQ(line.keyFile, "k");
    EXPECT_STREQ(line.expires, "1/2/30");

    line = parse({"check", "K.ini", "--key", "AAAA", "--folder", "D:\\rel"});
    EXPECT_EQ(line.kind, CommandKind::Check);
    EXPECT_STREQ(line.publicKey, "AAAA");
    EXPECT_STREQ(line.folder, "D:\\rel");
    EXPECT_EQ(line.keyFile, nullptr);

    EXPECT_EQ(parse({"check", "K.ini", "--key-file", "k"}).kind, CommandKind::Check);
    EXPECT_EQ(parse({"keygen", "k"}).kind, CommandKind::Keygen);
    EXPECT_EQ(parse({"--help"}).kind, CommandKind::Help);
}

TEST(CommandLine, RefusesWhatItDoesNotUnderstand)
{
    const std::vector<std::vector<const char *>> refused = {
        {"sign", "D:\\rel"},
        {"build"},
        {"build", "--out", "x.ini"},
        {"build", "D:\\rel", "--out"},
        {"build", "D:\\rel", "--folder", "D:\\x"},
        {"build", "D:\\rel", "--out", "a", "--out", "b"},
        {"check", "K.ini", "--key", "AAAA", "--key-file", "k"},
        {"check", "K.ini", "--expires", "1/1/30"},
        {"keygen", "k", "extra"},
        {"--help", "build"},
    };
    for (const auto &arguments : refused) {
        const CommandLine line = parse(arguments);
        EXPECT_EQ(line.kind, CommandKind::Usage) << arguments[0];
        EXPECT_STRNE(line.error, "") << arguments[0];
    }
    const CommandLine none = parse({});
    EXPECT_EQ(none.kind, CommandKind::Usage);
    EXPECT_STREQ(none.error, "");
}

} // namespace
