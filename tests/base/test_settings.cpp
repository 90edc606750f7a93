// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/IniSettings.h"
#include "base/NumericText.h"
#include "base/SettingsKeys.h"

using namespace kestro::base;

// Stored texts come from other versions and hand-edited files: anything that
// is not a clean value of its kind reads as the default.
TEST(SettingsValues, GarbageAndOutOfRangeTextsFallBack) {
    EXPECT_TRUE(ParseYesNo("-1", false));
    EXPECT_FALSE(ParseYesNo("0", true));
    EXPECT_TRUE(ParseYesNo("abc", true));

    EXPECT_EQ(ParseWhole(" -12 ", 0), -12);
    EXPECT_EQ(ParseWhole("32767", 7), 32767);
    EXPECT_EQ(ParseWhole("40000", 7), 7);  // beyond 16 bits
    EXPECT_EQ(ParseWhole("2.5", 7), 7);

    MemorySettingsStore store;
    store.Write("Recent ROMs number", "lots");
    EXPECT_EQ(ReadWhole(store, keys::RecentRomsNumber), 4);
    WriteYesNo(store, keys::MainMenuTheme, true);
    EXPECT_EQ(store.Values().at("VB Main Menu Theme"), "True");
}

// Numbers held as text in labels and entry boxes; the boxes' normalising is
// tested through the palette and goto boxes.
TEST(NumericText, ReadsTheLeadingNumberAndWritesTheShortestDecimal) {
    EXPECT_EQ(NumericValue("  12ab"), 12);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("+7x"), 7);
    EXPECT_EQ(NumericValue(".5"), 0.5);
    EXPECT_EQ(NumericValue("1.2.3"), 1.2);
    EXPECT_GT(NumericValue(std::string(400, '9')), 1e300);  // too long for a double: huge, not 0

    EXPECT_EQ(DecimalText(-0.0), "0");
    EXPECT_EQ(DecimalText(0.1 + 0.2), "0.30000000000000004");
}

// Hand-edited or damaged values are put right once at start-up, to the
// nearest value the program can use, and kept so; values already fine and
// keys not stored are left alone.
TEST(SettingsRepair, OutOfRangeValuesBecomeTheNearestValidOneAndAreWrittenBack) {
    // Key, value stored, value after the repair.
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"Recent ROMs number", "-5", "0"},
        {"White Tile Red", "256", "255"},
        {"Black Tile Blue", "-1", "0"},
        {"D Grey Tile Green", "99999999999999999999999", "255"},
        {"Rename ROMs", "7", "1"},
        {"Tile Display Mode", "abc", "0"},  // not a number: the default
        {"VB Main Menu Theme", "maybe", "False"},
        {"Reality Boy Brightness", "500", "127"},
        {"AutoUpdate Viewer", "-1", "-1"},  // a yes/no value the program reads: kept
        {"Base Directory", "/home/me/VB, roms", "/home/me/VB, roms"},
        {"L Grey Tile Red", "200", "200"}};
    MemorySettingsStore store;
    for (auto [key, stored, repaired] : rows) store.Write(key, stored);
    const int writes = store.WriteCount();
    std::vector<std::string> repaired = RepairSettings(store);
    EXPECT_EQ(store.WriteCount() - writes, static_cast<int>(repaired.size()));
    EXPECT_EQ(repaired.size(), 8u);
    for (auto [key, stored, value] : rows) EXPECT_EQ(store.Values().at(key), value) << key;
    EXPECT_FALSE(store.Find("Reality Boy Palette"));

    // The reads agree with what was written, and a second repair finds nothing.
    store.Write("Recent ROMs number", "256");
    EXPECT_EQ(ReadWhole(store, keys::RecentRomsNumber), 10);
    RepairSettings(store);
    EXPECT_TRUE(RepairSettings(store).empty());
}

// The desktop program's settings file read without Qt: what a hand-edited file
// may hold (the QSettings round trip, quoting included, is tested with Qt in tests/platform).
TEST(IniSettings, ReadsTheSettingsSectionAsQSettingsWritesIt) {
    // Each line of the section, the key it names and the text it holds.
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"Reality%20Boy%20Directory=/home/me/emu/rboy", "Reality Boy Directory", "/home/me/emu/rboy"},
        {"Recent%20ROM%20%232=a \\\"quoted\\\" \\\\ path\\tx", "Recent ROM #2", "a \"quoted\" \\ path\tx"},
        {"Recent%20ROM%20%234=caf\xC3\xA9 \\x1b\\x31", "Recent ROM #4", "caf\xC3\xA9 \x1b\x31"},
        {"Recent%20ROM%20%235=   unquoted trailing   ", "Recent ROM #5", "unquoted trailing"},
        {"Recent%20ROM%20%237=a, b", "Recent ROM #7", ""},              // a list, which reads as no text
        {"Recent%20ROM%20%238=\\101\\77\\7", "Recent ROM #8", "A?\a"},  // octal, as a hand-edited file may hold
        {"Odd%U00e9=x", "Odd\xC3\xA9", "x"},
    };
    std::string text = "[General]\r\nReality%20Boy%20Directory=/not/this/one\r\n\r\n[Settings]\r\n";
    for (const auto& [line, key, value] : rows) text += std::string(line) + "\r\n";
    text += "; a comment\r\nno equals sign\r\n[Other]\r\nReality%20Boy%20Directory=/nor/this/one\n";
    const auto values = ParseIniSection(text, "Settings");
    EXPECT_EQ(values.size(), std::size(rows));
    for (const auto& [line, key, value] : rows) EXPECT_EQ(values.at(key), value) << line;
}
