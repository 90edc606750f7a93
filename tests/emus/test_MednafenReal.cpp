// SPDX-License-Identifier: GPL-3.0-or-later
// The real Mednafen, where it is installed: a game started with its own
// settings file and stopped again leaves mednafen.cfg as it was. SDL's
// dummy video driver stands in for a display, so no X server is needed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "emus/Mednafen.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using test::FileText;

// Runs Mednafen with its output in the log, without a display or sound. Given
// a text to wait for, it is stopped as a user closing its window would stop it
// (it saves its settings and ends) once the log holds the text; without one it
// is left to end by itself. Gives Mednafen's exit status, or -1.
int RunMednafen(const std::vector<std::string>& argv, const std::string& home, const std::string& log,
                const std::string& waitFor = {}) {
    const std::string start = "env -u DISPLAY -u WAYLAND_DISPLAY MEDNAFEN_HOME=" + base::ShellCommandLine({home}) +
                              " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + base::ShellCommandLine(argv) + " >" +
                              base::ShellCommandLine({log}) + " 2>&1 </dev/null";
    const std::string script =
        waitFor.empty() ? start
                        : start + " & pid=$!; i=0; until grep -qF " + base::ShellCommandLine({waitFor}) + " " +
                              base::ShellCommandLine({log}) +
                              " || [ $i -gt 1500 ]; do sleep 0.02; i=$((i+1)); done; kill -TERM $pid; wait $pid";
    const int status = std::system(script.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MednafenReal, AGameRunsWithItsOwnSettingsAndMednafenCfgStaysAsItWas) {
    const MednafenEnvironment current = CurrentMednafenEnvironment();
    const auto program = FindMednafen("", current);
    if (!program) GTEST_SKIP() << "mednafen is not installed (Debian package \"mednafen\")";

    test::TempDir dir;
    const std::string home = dir.File("mednafen home");
    std::filesystem::create_directories(home);
    MednafenEnvironment environment = current;
    environment.mednafenHome = home;
    // A first start without a game makes Mednafen's own mednafen.cfg, as any
    // user has one; it writes the file as it ends, so it is left to end.
    RunMednafen({*program}, home, dir.File("first.log"));
    const std::string cfg = JoinPath(home, "mednafen.cfg");
    const std::string before = FileText(cfg);
    ASSERT_GT(before.size(), 1000u) << "Mednafen wrote no settings file\n" << FileText(dir.File("first.log"));

    const std::string sideGame = dir.File("roms/Side game.vb");
    const std::string plainGame = dir.File("roms/Plain game.vb");
    std::filesystem::create_directories(dir.File("roms"));
    test::RomBuilder::Unknown().WriteTo(sideGame);
    test::RomBuilder::Unknown().Seed(2).WriteTo(plainGame);

    // Side by side, without sound, for the one game.
    const MednafenGame game = LoadMednafenGame(sideGame, environment);
    MednafenValues shown = game.Effective();
    shown["vb.3dmode"] = "sidebyside";
    shown["sound"] = "0";
    const auto file = PerGameFileFor(game, shown);
    ASSERT_TRUE(file);
    ASSERT_TRUE(WriteRunFile(*file));

    // Runs the game until Mednafen shows it, stops it, and gives what
    // Mednafen said from where it looked for the game's file on.
    auto run = [&](const std::string& rom) {
        const base::LaunchPlan plan =
            base::PlanLaunch(MednafenRun(*program, rom, std::nullopt).request, base::CurrentLaunchEnvironment());
        EXPECT_TRUE(plan.ok) << plan.error;
        const std::string log = rom + ".log";
        EXPECT_EQ(RunMednafen(plan.argv, home, log, "Destination Rectangle"), 0) << FileText(log);
        const std::string text = FileText(log);
        const std::string loading =
            "Loading override settings from \"" + LoadMednafenGame(rom, environment).configPath + "\"...\n";
        const std::size_t at = text.find(loading);
        EXPECT_NE(at, std::string::npos) << text;
        return at == std::string::npos ? text : text.substr(at + loading.size());
    };

    const std::string side = run(sideGame);
    EXPECT_EQ(side.find("Loaded 2 valid settings and ignored 0 unknown settings"), side.find_first_not_of(" \t"))
        << side;
    EXPECT_NE(side.find("W=1536, H=448"), std::string::npos) << "two 768-pixel pictures side by side";
    EXPECT_TRUE(FileText(cfg) == before) << "mednafen.cfg changed by a run with a per-game file";

    const std::string plain = run(plainGame);
    EXPECT_EQ(plain.find("Failed"), plain.find_first_not_of(" \t")) << "the other game has no file";
    EXPECT_NE(plain.find("W=768, H=448"), std::string::npos) << "one picture, as every game gets it";
    EXPECT_TRUE(FileText(cfg) == before) << "mednafen.cfg changed by the second game's run";
}

}  // namespace
}  // namespace kestro::emus
