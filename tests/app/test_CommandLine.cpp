// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "app/CommandLine.h"

using namespace kestro::app;
using Action = CommandLine::Action;

// What a file manager, a desktop entry and a user at the terminal pass.
TEST(CommandLine, OneRomFileOrHelpOrVersionElseARefusalWithStatusTwo) {
    EXPECT_EQ(ParseCommandLine({}).action, Action::Run);
    EXPECT_EQ(ParseCommandLine({}).romFile, "");
    EXPECT_EQ(ParseCommandLine({"/home/me/roms/Golf (U).vb"}).romFile, "/home/me/roms/Golf (U).vb");
    EXPECT_EQ(ParseCommandLine({"--", "-odd name.vb"}).romFile, "-odd name.vb") << "-- ends the options";

    // Help and version win wherever they stand, even beside a refused argument.
    EXPECT_EQ(ParseCommandLine({"--help"}).action, Action::Help);
    EXPECT_EQ(ParseCommandLine({"-platform", "offscreen", "-h"}).action, Action::Help);
    EXPECT_EQ(ParseCommandLine({"a.vb", "b.vb", "--version"}).action, Action::Version);
    EXPECT_EQ(ParseCommandLine({"--", "--help"}).romFile, "--help") << "after -- it is a file name";

    const struct {
        std::vector<std::string> args;
        const char* error;
    } refused[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"a.vb", "b.vb"}, "only one ROM file can be opened at a time"},
        {{""}, "empty file name"},
    };
    for (const auto& r : refused) {
        const CommandLine parsed = ParseCommandLine(r.args);
        EXPECT_EQ(parsed.action, Action::Error);
        EXPECT_EQ(parsed.error, r.error);
        std::ostringstream out, err;
        EXPECT_EQ(AnswerOnTerminal(parsed, out, err), kExitUsage);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str(), std::string("kestro-utils: ") + r.error + "\nRun 'kestro-utils --help' for usage.\n");
    }

    // Qt takes its own options before the second reading; only then is an
    // unknown option a mistake.
    EXPECT_FALSE(AnswerBeforeQt(ParseCommandLine({"-platform", "offscreen", "a.vb"})));
    EXPECT_TRUE(AnswerBeforeQt(ParseCommandLine({"a.vb", "b.vb"})));
    EXPECT_TRUE(AnswerBeforeQt(ParseCommandLine({"-style", "x", "--version"})));
    EXPECT_FALSE(AnswerBeforeQt(ParseCommandLine({"a.vb"})));

    std::ostringstream out, err;
    EXPECT_EQ(AnswerOnTerminal(ParseCommandLine({"--version"}), out, err), 0);
    EXPECT_EQ(out.str(), std::string("kestro-utils ") + KESTRO_VERSION + "\n");
    EXPECT_FALSE(AnswerOnTerminal(ParseCommandLine({"x.vb"}), out, err).has_value()) << "the program starts";
}
