// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "app/AppSettings.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "help/HelpTopics.h"

using namespace kestro::app;
using namespace kestro::base;
using namespace kestro::help;
using Action = CommandLine::Action;

// The window tests start from a registry that names both directories; here
// the boundaries they do not reach: no value at all, and a root directory.
TEST(Startup, LocationsEndInOneSeparatorOrAreEmpty) {
    MemoryRegistryBackend registry;
    registry.SetText(HKEY_USERS_, kFontsDirKey, kFontsDirValue, "/usr/share/fonts/ipa/");
    StartupLocations where = ReadStartupLocations(registry, "/");
    EXPECT_EQ(where.windowsDirectory, "");
    EXPECT_EQ(where.fontsDirectory, "/usr/share/fonts/ipa/");
    EXPECT_EQ(where.programDirectory, "/") << "a root is not doubled";
}

TEST(HelpTopics, KeysMatchExactly) {
    ASSERT_TRUE(FindHelpTopic("ROM DB Dupes"));
    EXPECT_EQ(FindHelpTopic("ROM DB Dupes")->caption, "Duplicate Virtual Boy ROMs");
    EXPECT_FALSE(FindHelpTopic("rom info"));
}

// Every member goes to its own key and comes back from it: a value unlike
// any default in each, written, then read into a fresh copy.
TEST(AppSettings, EveryMemberRoundTripsThroughItsOwnKey) {
    AppSettings s;
    s.versionNumber = "9.9";
    s.mainMenuTheme = s.themeColours = s.autoDetectRom = s.autoUpdateViewer = true;
    s.baseDirectory = "/roms/";
    s.recentRomsNumber = 7;
    for (std::size_t i = 0; i < s.recentRoms.size(); ++i) s.recentRoms[i] = "/r" + std::to_string(i) + ".vb";
    s.tileDisplayMode = 1;
    for (std::size_t c = 0; c < s.tileColours.size(); ++c) {
        const int k = static_cast<int>(c) * 3;
        s.tileColours[c] = {k + 1, k + 2, k + 3};
    }
    for (std::size_t p = 0; p < s.programs.size(); ++p) s.programs[p] = {true, "/emu" + std::to_string(p) + "/"};
    s.mednafen = {true, "/usr/local/bin/mednafen"};
    s.detailedRomLists = s.renameRoms = s.moveRoms = s.createChangeLog = 1;
    MemorySettingsStore store;
    s.SaveRegistry(store);
    s.SaveOwnKeys(store);
    AppSettings read;
    read.GetRegistry(store);
    EXPECT_EQ(read, s);
}

// What a file manager, a desktop entry and a user at the terminal pass.
TEST(CommandLine, OneRomFileOrHelpOrVersionElseARefusalWithStatusTwo) {
    EXPECT_EQ(ParseCommandLine({}).action, Action::Run);
    EXPECT_EQ(ParseCommandLine({"/home/me/roms/Golf (U).vb"}).romFile, "/home/me/roms/Golf (U).vb");

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

    std::ostringstream out, err;
    EXPECT_EQ(AnswerOnTerminal(ParseCommandLine({"--version"}), out, err), 0);
    EXPECT_EQ(out.str(), std::string("kestro-utils ") + KESTRO_VERSION + "\n");
    EXPECT_FALSE(AnswerOnTerminal(ParseCommandLine({"x.vb"}), out, err).has_value()) << "the program starts";
}
