// SPDX-License-Identifier: GPL-3.0-or-later
// Reality Boy's command lines, stored options, palette rule and numeric entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "base/Paths.h"
#include "base/SettingsKeys.h"
#include "emus/RealityBoy.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using test::TempDir;

// A Reality Boy directory holding RBOY.EXE, and a ROM with a blank in its path.
struct RealityBoySetup {
    TempDir dir;
    std::string emu = dir.File("EMU");
    std::string rom = dir.File("my roms/GAME.VB");
    RealityBoySetup() {
        std::filesystem::create_directories(emu);
        std::filesystem::create_directories(dir.File("my roms"));
        std::ofstream(JoinPath(emu, "rboy.exe")) << "MZ";
        test::RomBuilder::Unknown().WriteTo(rom);
    }
};

TEST(RealityBoy, CommandLinesForEachOptionProgramNameAndMissingPaths) {
    RealityBoySetup s;
    const std::string prefix = JoinPath(s.emu, "RBOY") + " " + s.rom;
    PreparedRun run = RealityBoyRun(s.emu, s.rom, RealityBoyOptions{}, false);
    EXPECT_EQ(run.commandLine, prefix + " -display 640 -dspmode normal -frmskip 0 -pallet normal -brite 64");
    EXPECT_EQ(run.request.program, JoinPath(s.emu, "RBOY"));
    EXPECT_EQ(run.request.pathArguments, std::vector<std::size_t>{0});

    const std::tuple<RealityBoyOptions, bool, std::string> cases[] = {
        {{2, 0, 3, 9, 127, false, false}, false, " -display 320 -dspmode red_blue -frmskip 9 -pallet rg -brite 127"},
        {{6, 6, 1, 3, 0, true, true},
         true,
         " -display 1024v2 -dspmode cscope -frmskip 3 -pallet red -brite 0 -flip -debug -fixpal"},
        {{5, 2, 2, 0, 1, false, false}, true, " -display 640v2 -dspmode side -frmskip 0 -pallet rb -brite 1 -debug"},
    };
    for (const auto& [options, debug, tail] : cases) {
        EXPECT_EQ(RealityBoyRun(s.emu, s.rom, options, debug).commandLine, prefix + tail);
    }

    // A directory that already ends in the separator is a "drive root": no second one.
    EXPECT_EQ(RealityBoyRun(s.emu + "/", s.rom, {}, false).commandLine.substr(0, s.emu.size() + 6), s.emu + "/RBOY ");
    std::filesystem::remove(JoinPath(s.emu, "rboy.exe"));
    run = RealityBoyRun(s.emu, s.rom, {}, false);
    EXPECT_EQ(run.commandLine.substr(0, s.emu.size() + 7), s.emu + "/VB_98 ") << "VB_98 even when it is absent too";
    EXPECT_EQ(run.request.program, JoinPath(s.emu, "VB_98"));

    // A ROM that is gone since it was chosen shortens to nothing.
    run = RealityBoyRun(s.emu, s.dir.File("gone.vb"), {}, false);
    EXPECT_EQ(run.commandLine,
              JoinPath(s.emu, "VB_98") + "  -display 640 -dspmode normal -frmskip 0 -pallet normal -brite 64");
    EXPECT_EQ(run.request.arguments.front(), "-display");
    EXPECT_TRUE(run.request.pathArguments.empty());
    EXPECT_EQ(RealityBoyRun(s.dir.File("gone"), s.rom, {}, false).commandLine.substr(0, 7), "/VB_98 ")
        << "a missing directory keeps the separator";
}

TEST(RealityBoy, StoredOptionsAreClampedAndSavedInOrder) {
    base::MemorySettingsStore store;
    EXPECT_EQ(ReadRealityBoyOptions(store), RealityBoyOptions{});
    store.Write("Reality Boy Display Mode", "9");
    store.Write("Reality Boy Resolution", "-2");
    store.Write("Reality Boy Palette", "7");
    store.Write("Reality Boy Frame Skip", "15");
    store.Write("Reality Boy Brightness", "255");
    store.Write("Reality Boy Ignore Palette", "True");
    store.Write("Reality Boy Flip 3D Effects", "1");
    EXPECT_EQ(ReadRealityBoyOptions(store), (RealityBoyOptions{6, 0, 4, 9, 127, true, true}));
    EXPECT_EQ(AsShown(ReadRealityBoyOptions(store)).palette, 0) << "an opened window applies the palette rule";

    base::MemorySettingsStore saved;
    SaveRealityBoyOptions(saved, {1, 2, 3, 4, 5, false, true});
    EXPECT_EQ(ReadRealityBoyOptions(saved), (RealityBoyOptions{1, 2, 3, 4, 5, false, true}));
    EXPECT_EQ(saved.Values().at("Reality Boy Flip 3D Effects"), "True");
    EXPECT_EQ(saved.WriteCount(), 7);
}

TEST(RealityBoy, DisplayModesDecideThePalettes) {
    using E = std::array<bool, 5>;
    const E greyRed{true, true, false, false, false};
    const E coloured{false, false, true, true, true};
    for (int mode : {0, 3, 4, 5, 6}) {
        EXPECT_EQ(ApplyDisplayMode(mode, 1).enabled, greyRed) << mode;
        EXPECT_EQ(ApplyDisplayMode(mode, 1).palette, 1) << "a usable palette stays";
        EXPECT_EQ(ApplyDisplayMode(mode, 4).palette, 0) << "an unusable one falls back to grey";
    }
    EXPECT_EQ(ApplyDisplayMode(1, 0).enabled, coloured);
    EXPECT_EQ(ApplyDisplayMode(1, 0).palette, 2);
    EXPECT_EQ(ApplyDisplayMode(1, 4).palette, 4);
    EXPECT_EQ(ApplyDisplayMode(2, 0).palette, 3) << "Red/Green glasses take the Red/Green palette";
    EXPECT_EQ(ApplyDisplayMode(2, 4).palette, 3);
    EXPECT_EQ(ApplyDisplayMode(2, 4).enabled, coloured);
    EXPECT_EQ(ApplyDisplayMode(7, 2).enabled, (E{true, true, true, true, true}));
}

TEST(RealityBoy, NumericEntryKeepsNumbersInRange) {
    // Typed into a box bounded so, it shows so and moves its bar so.
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"300", 127, "127", 127}, {"12a", 127, "12", 12}, {"-3", 127, "0", 0},      {"15", 9, "9", 9},
        {"", 9, "", 0},           {"abc", 9, "0", 0},     {"007", 127, "7", 7},     {" 5", 9, "5", 5},
        {"2.5", 127, "2.5", 2},   {"3.5", 127, "3.5", 4}, {"127", 127, "127", 127},
    };
    for (const auto& [typed, bound, shown, scroll] : cases) {
        const NumericEntry entry = NormaliseEntry(typed, bound);
        EXPECT_EQ(entry.text, shown) << typed;
        EXPECT_EQ(entry.scrollValue, scroll) << typed;
    }
}

}  // namespace
}  // namespace kestro::emus
