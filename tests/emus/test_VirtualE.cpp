// SPDX-License-Identifier: GPL-3.0-or-later
// Virtual-E's settings and keys in the registry, and the two key numberings.
#include <gtest/gtest.h>

#include <fstream>

#include "emus/KeyConfig.h"
#include "emus/KeyTables.h"
#include "emus/VirtualE.h"
#include "support/core/TempDir.h"

namespace kestro::emus {
namespace {

using base::HKEY_CURRENT_USER_;
using base::MemoryRegistryBackend;

TEST(KeyTables, NamesAndCodesGoBothWays) {
    const std::pair<int, const char*> virtualE[] = {{65, "A a"}, {901, " \\ "}, {0, "<Key#000>"}, {7, "<Key#007>"}};
    for (auto [code, name] : virtualE) EXPECT_EQ(VirtualEKeyName(code), name) << code;
    EXPECT_EQ(VirtualEKeyCode("<LShift>"), 911);
    EXPECT_EQ(VirtualEKeyCode("<Key#226>"), 0);
    for (const NamedKey& key : kVirtualEKeys) EXPECT_EQ(VirtualEKeyCode(key.name), key.code) << key.name;

    const std::pair<int, const char*> redDragon[] = {{0, "   "}, {114, "<CpLock>"}, {115, "<INVALID>"}, {-1, "<INVALID>"}};
    for (auto [code, name] : redDragon) EXPECT_EQ(RedDragonKeyName(code), name) << code;
    EXPECT_EQ(RedDragonKeyCode("<INVALID>"), 0);
    for (int code = 0; code < 115; ++code) EXPECT_EQ(RedDragonKeyCode(RedDragonKeyName(code)), code);

    // Crossing goes through the names: left Shift is Red Dragon's 103; a mouse
    // button, the generic Shift, or Red Dragon's keypad Enter has no counterpart.
    const std::pair<int, int> toRedDragon[] = {{911, 103}, {65, 1}, {1, 0}, {16, 0}};
    for (auto [from, to] : toRedDragon) EXPECT_EQ(RedDragonCodeOfVirtualE(from), to) << from;
    const std::pair<int, int> toVirtualE[] = {{120, 0}, {0, 900}, {91, 0}};
    for (auto [from, to] : toVirtualE) EXPECT_EQ(VirtualECodeOfRedDragon(from), to) << from;
}

// Red Dragon's numbering handed over as text, each key crossing by its name.
TEST(KeyConfig, RedDragonHandOver) {
    const KeyCodes codes = KeysFromRedDragon({"1", "2", "103", "120", "0", "0042.7", "x"});
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 6),
              (std::vector<int>{65, 66, 911, 0, 900, VirtualEKeyCode(RedDragonKeyName(43))}));
    EXPECT_EQ(codes[6], 900) << "no number reads as 0";
    EXPECT_EQ(codes[13], 900) << "a short list reads as no keys";
    EXPECT_EQ(KeysToRedDragon(codes)[2], "103");
    EXPECT_EQ(KeysToRedDragon(codes)[3], "0");
}

TEST(VirtualE, FirstUseWritesTheDefaultsAndAMissingValueReadsAsZero) {
    MemoryRegistryBackend registry;
    EXPECT_EQ(ReadVirtualEOptions(registry), VirtualEOptions{});
    test::TempDir dir;
    std::ofstream(dir.File("VirtualE.exe")) << "MZ";
    const VirtualEPlay play = PrepareVirtualEPlay(registry, dir.Path().string());
    EXPECT_EQ(play.request, (base::LaunchRequest{dir.File("VirtualE.exe"), {}, "", true}))
        << "found without regard to case, started minimised with no arguments";
    EXPECT_EQ(play.commandLine, dir.File("VirtualE.exe"));
    EXPECT_FALSE(registry.OpenForQuery(HKEY_CURRENT_USER_, kVirtualEOptionsKey)) << "preparing writes nothing";
    std::vector<std::int32_t> numbers;
    for (const WrittenRegistryValue& value : play.values) numbers.push_back(value.value);
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{2, 2, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
    // A root directory gets no second separator.
    EXPECT_EQ(PrepareVirtualEPlay(registry, "/nonexistent-root/").request.program, "/nonexistent-root/VIRTUALE.EXE");

    MemoryRegistryBackend partial;
    partial.CreateKey(HKEY_CURRENT_USER_, kVirtualEOptionsKey);
    partial.SetValue(HKEY_CURRENT_USER_, kVirtualEOptionsKey, "Sound", {base::REG_DWORD_, {1, 0, 0, 0}});
    partial.SetText(HKEY_CURRENT_USER_, kVirtualEOptionsKey, "Skip", "7");
    const VirtualEOptions read = ReadVirtualEOptions(partial);
    EXPECT_EQ(read.display, 0) << "a value missing under an existing key reads as 0";
    EXPECT_EQ(read.frameSkip, 7);
    EXPECT_TRUE(read.enableSound);
    EXPECT_FALSE(read.enableSram);

    // Each setting goes to its own value and comes back from it.
    VirtualEOptions all{3, 4, -5, 2, 9, 60};
    for (bool VirtualEOptions::*flag :
         {&VirtualEOptions::ignoreDisplayIrq, &VirtualEOptions::ignoreTimerIrq, &VirtualEOptions::ignoreControlIrq,
          &VirtualEOptions::enableSram, &VirtualEOptions::ignoreRomPalette, &VirtualEOptions::enableSound}) {
        VirtualEOptions one;
        one.*flag = all.*flag = true;
        SaveVirtualEOptions(partial, one);
        EXPECT_EQ(ReadVirtualEOptions(partial), one);
    }
    SaveVirtualEOptions(partial, all);
    EXPECT_EQ(ReadVirtualEOptions(partial), all);

    // A failed write is error 26001.
    MemoryRegistryBackend readOnly;
    readOnly.DenyWrites(HKEY_CURRENT_USER_);
    EXPECT_THROW(WriteRegistryValues(readOnly, play.values), base::RegistryError);
}

}  // namespace
}  // namespace kestro::emus
