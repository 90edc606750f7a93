// SPDX-License-Identifier: GPL-3.0-or-later
// Mednafen's per-game settings, its program and its command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "emus/Mednafen.h"
#include "emus/ProgramFiles.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using test::FileText;
using test::WriteText;

// Lines it does not manage are kept as written (CRLF included); the last line of a key counts, as Mednafen reads it.
TEST(MednafenConfig, AFileRewrittenKeepsEveryLineItDoesNotManage) {
    const std::string text = ";my notes\r\nvb.3dmode anaglyph\r\nvb.xscale 3\r\nfoo.bar some value\r\nvb.3dmode cscope";
    const MednafenValues read = ReadMednafenConfig(text);
    EXPECT_EQ(read, (MednafenValues{{"vb.3dmode", "cscope"}, {"vb.xscale", "3"}, {"foo.bar", "some value"}}));
    EXPECT_EQ(UpdateMednafenConfig(text, {{"vb.3dmode", "hli"}, {"vb.xscale", std::nullopt}, {"sound", "0"}}),
              ";my notes\r\nvb.3dmode hli\r\nfoo.bar some value\r\nsound 0\r\n");
    EXPECT_EQ(UpdateMednafenConfig("", {{"vb.3dmode", "hli"}}), "vb.3dmode hli\n");
    EXPECT_FALSE(IsBlankConfig("\n;a note\n"));
}

TEST(MednafenValues, ColoursAndNumbersAreWrittenAsMednafenWritesThem) {
    EXPECT_EQ(MednafenColourText(0x00baff), "0x00baff");
    EXPECT_EQ(ParseMednafenColour("16711680"), 0xFF0000u);
    for (const char* bad : {"0x1000000", "0x", "red", "", "-1", "0xfffffg"}) {
        EXPECT_EQ(ParseMednafenColour(bad), std::nullopt) << bad;
    }
    auto normal = [](std::string_view key, std::string_view text) {
        return NormalisedMednafenValue(MednafenSettingOf(key), text);
    };
    EXPECT_EQ(normal("vb.3dmode", "sidebyside"), "sidebyside");
    EXPECT_EQ(normal("vb.3dmode", "SideBySide"), std::nullopt);
    EXPECT_EQ(normal("vb.default_color", "0xF0F0F0"), "0xf0f0f0");
    EXPECT_EQ(normal("vb.3dreverse", "true"), std::nullopt);
    EXPECT_EQ(normal("vb.sidebyside.separation", "1024"), "1024");
    EXPECT_EQ(normal("vb.sidebyside.separation", "1025"), std::nullopt);
    EXPECT_EQ(normal("vb.xscale", "2.5"), "2.500000");
    EXPECT_EQ(normal("vb.xscale", "2x"), std::nullopt);
    EXPECT_EQ(normal("vb.xscale", "0"), std::nullopt);

    // Every default is a value its own setting takes (a slip in the table shows here).
    for (const MednafenSetting& s : MednafenSettings())
        EXPECT_TRUE(NormalisedMednafenValue(s, s.defaultValue)) << s.key;
}

class MednafenFilesTest : public ::testing::Test {
protected:
    MednafenEnvironment Environment() const {
        MednafenEnvironment e;
        e.mednafenHome = home;
        e.home = dir.File("user");
        return e;
    }
    test::TempDir dir;
    std::string home = dir.File("mednafen home");
    std::string rom = dir.File("roms/My Game.vb");
    std::string gameFile = JoinPath(home, "pgconfig/My Game.vb.cfg");
};

TEST_F(MednafenFilesTest, TheGameFileIsWhereMednafenLooksAndNamedAsItNamesIt) {
    EXPECT_EQ(LoadMednafenGame(rom, Environment()).configPath, gameFile);
    MednafenEnvironment noHome = Environment();
    noHome.mednafenHome.clear();
    EXPECT_EQ(MednafenBaseDirectory(noHome), JoinPath(dir.File("user"), ".mednafen"));
    EXPECT_EQ(PerGameFileName("/x/GAME.VB"), "GAME.vb.cfg");
    EXPECT_EQ(PerGameFileName("/x/game"), "game.vb.cfg");

    // The folder Mednafen's own settings name, relative to its base directory or not.
    WriteText(JoinPath(home, "mednafen.cfg"), "filesys.path_pgconfig per game\nvb.3dmode cscope\nvb.xscale huge\n");
    EXPECT_EQ(LoadMednafenGame(rom, Environment()).configPath, JoinPath(home, "per game/My Game.vb.cfg"));
    WriteText(JoinPath(home, "mednafen.cfg"), "filesys.path_pgconfig " + dir.File("elsewhere") + "\n");
    EXPECT_EQ(LoadMednafenGame(rom, Environment()).configPath, dir.File("elsewhere/My Game.vb.cfg"));

    // What a game inherits: vb.cfg over mednafen.cfg over Mednafen's defaults; a bad value counts for nothing.
    WriteText(JoinPath(home, "mednafen.cfg"), "vb.3dmode cscope\nvb.xscale huge\nsound 0\n");
    WriteText(JoinPath(home, "vb.cfg"), "vb.3dmode hli\n");
    WriteText(gameFile, "vb.anaglyph.preset red_green\nvb.cpu_emulation turbo\n");
    const MednafenGame game = LoadMednafenGame(rom, Environment());
    EXPECT_EQ(game.inherited.at("vb.3dmode"), "hli");
    EXPECT_EQ(game.inherited.at("vb.xscale"), "2.000000");
    EXPECT_EQ(game.inherited.at("sound"), "0");
    EXPECT_EQ(game.own, (MednafenValues{{"vb.anaglyph.preset", "red_green"}}));
    EXPECT_EQ(game.Effective().at("vb.anaglyph.preset"), "red_green");
    EXPECT_EQ(game.Effective().at("vb.cpu_emulation"), "fast");
}

TEST_F(MednafenFilesTest, SavingWritesWhatDiffersAndLeavesEverythingElse) {
    const std::string original = ";notes\nvb.xscale 2.000000\nvb.default_color 0xF0F0F0\nvb.custom 1\n";
    WriteText(gameFile, original);
    MednafenGame game = LoadMednafenGame(rom, Environment());
    MednafenValues shown = game.Effective();
    EXPECT_EQ(PerGameFileFor(game, shown), std::nullopt) << "nothing changed, nothing written";

    shown["vb.3dmode"] = "sidebyside";
    shown["sound"] = "0";
    auto file = PerGameFileFor(game, shown);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->path, gameFile);
    EXPECT_TRUE(file->makeDirectory);
    EXPECT_EQ(file->content, original + "vb.3dmode sidebyside\nsound 0\n")
        << "the lines the file had stay as written, 0xF0F0F0 included";

    // The scale is one control: both axes follow it.
    shown["vb.xscale"] = "3.000000";
    file = PerGameFileFor(game, shown);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->content,
              ";notes\nvb.xscale 3.000000\nvb.default_color 0xF0F0F0\nvb.custom 1\nvb.3dmode sidebyside\n"
              "vb.yscale 3.000000\nsound 0\n");

    // A game without a file gets one only for what differs from every game's settings.
    game = LoadMednafenGame(dir.File("roms/Other.vb"), Environment());
    shown = game.Effective();
    shown["vb.cpu_emulation"] = "accurate";
    file = PerGameFileFor(game, shown);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->content, "vb.cpu_emulation accurate\n");
    ASSERT_TRUE(WriteRunFile(*file)) << "its folder is made";
    EXPECT_EQ(FileText(JoinPath(home, "pgconfig/Other.vb.cfg")), "vb.cpu_emulation accurate\n");
}

TEST_F(MednafenFilesTest, RevertToDefaultTakesOutOnlyTheGameSettings) {
    EXPECT_FALSE(RemoveGameSettings(LoadMednafenGame(rom, Environment())).needed) << "no file, nothing to do";

    WriteText(gameFile, ";mine\nvb.3dmode hli\nvb.input.builtin.gamepad.a keyboard 0x0 4\nsound 0\n");
    MednafenGame game = LoadMednafenGame(rom, Environment());
    PerGameRemoval removal = RemoveGameSettings(game);
    EXPECT_TRUE(removal.needed);
    EXPECT_FALSE(removal.removeFile);
    EXPECT_EQ(ApplyRemoval(game, removal), std::nullopt);
    EXPECT_EQ(FileText(gameFile), ";mine\nvb.input.builtin.gamepad.a keyboard 0x0 4\n");

    WriteText(gameFile, "vb.3dmode hli\n\nvb.xscale 3\n");
    game = LoadMednafenGame(rom, Environment());
    removal = RemoveGameSettings(game);
    EXPECT_TRUE(removal.removeFile) << "a file of our lines alone goes";
    EXPECT_EQ(ApplyRemoval(game, removal), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(gameFile));

    const base::Message question = RemoveGameSettingsQuestion(gameFile);
    EXPECT_EQ(question.text,
              "Do you wish to revert to default settings?\rNOTE: This removes this game's settings from:\r" + gameFile);
    EXPECT_EQ(question.defaultButton, base::MessageResult::No);
}

TEST(MednafenProgram, LookedForWhereConfiguredThenOnPathThenInUsrGames) {
    test::TempDir dir;
    for (const char* d : {"bin1", "bin2", "games", "none", "mine"}) std::filesystem::create_directories(dir.File(d));
    test::WriteExecutable(dir.File("bin2/mednafen"), "#!/bin/sh\n");
    test::WriteExecutable(dir.File("games/mednafen"), "#!/bin/sh\n");
    test::WriteExecutable(dir.File("mine/mednafen-git"), "#!/bin/sh\n");
    test::WriteExecutable(dir.File("mine/mednafen"), "#!/bin/sh\n");
    std::ofstream(dir.File("mine/not-runnable")) << "x";
    MednafenEnvironment e;
    e.searchPath = dir.File("bin1") + ":" + dir.File("bin2");
    e.fallbackDirectory = dir.File("games");
    EXPECT_EQ(FindMednafen("", e), dir.File("bin2/mednafen"));
    e.searchPath = dir.File("bin1");
    EXPECT_EQ(FindMednafen("", e), dir.File("games/mednafen"));
    EXPECT_EQ(FindMednafen(dir.File("mine/mednafen-git"), e), dir.File("mine/mednafen-git"));
    EXPECT_EQ(FindMednafen(dir.File("mine"), e), dir.File("mine/mednafen")) << "a folder holding it";
    EXPECT_EQ(FindMednafen(dir.File("mine/not-runnable"), e), std::nullopt);
    e.searchPath = dir.File("mine");
    EXPECT_EQ(FindMednafen("mednafen-git", e), dir.File("mine/mednafen-git")) << "a bare name, on PATH";

    e.searchPath = dir.File("bin1");
    e.fallbackDirectory = dir.File("none");
    EXPECT_EQ(FindMednafen("", e), std::nullopt);
    EXPECT_EQ(MednafenMissingLines("", e),
              (std::vector<std::string>{"Can't find mednafen on PATH or in directory:", dir.File("none")}));
    EXPECT_EQ(MissingOnApply(base::Program::Mednafen, "/opt/emu/mednafen").text,
              "Can't find the mednafen program:\r/opt/emu/mednafen\rPlease choose another program or disable this "
              "option.");
}

TEST(MednafenRun, TheCommandLineRunsAsItStandsInAShell) {
    const std::string program = "/home/me/my bin/mednafen";
    const std::string rom = "/home/me/It's $HOME; a game.vb";
    EXPECT_EQ(MednafenRun(program, rom, std::nullopt).commandLine,
              "'/home/me/my bin/mednafen' '/home/me/It'\\''s $HOME; a game.vb'");
    EXPECT_EQ(MednafenRun("/usr/games/mednafen", "/roms/GAME.VB", std::nullopt).commandLine,
              "/usr/games/mednafen /roms/GAME.VB");
    // An extension Mednafen does not know needs the module named.
    const PreparedRun run = MednafenRun("/usr/games/mednafen", "/roms/game.bin", std::nullopt);
    EXPECT_EQ(run.commandLine, "/usr/games/mednafen -force_module vb /roms/game.bin");
    EXPECT_EQ(run.request.pathArguments, std::vector<std::size_t>{2});
    EXPECT_EQ(run.emulator, "Mednafen") << "the name its start is reported under";

    EXPECT_EQ(base::ShellCommandLine({"A=b", "", "~root", "#x", "x=1", "`id`", "*", "é"}),
              "'A=b' '' '~root' '#x' x=1 '`id`' '*' 'é'")
        << "quoted unless plainly safe; no shell takes the program for an assignment";
}

}  // namespace
}  // namespace kestro::emus
