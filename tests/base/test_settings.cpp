// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/NumericText.h"
#include "base/SettingsKeys.h"

using namespace kestro::base;

// Stored texts come from other versions and hand-edited files: anything that
// is not a clean value of its kind reads as the default.
TEST(SettingsValues, GarbageAndOutOfRangeTextsFallBack) {
    EXPECT_TRUE(ParseYesNo("true", false));
    EXPECT_TRUE(ParseYesNo("-1", false));
    EXPECT_FALSE(ParseYesNo("0", true));
    EXPECT_TRUE(ParseYesNo("abc", true));
    EXPECT_FALSE(ParseYesNo("", false));

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

    EXPECT_EQ(DecimalText(2.5), "2.5");
    EXPECT_EQ(DecimalText(-0.0), "0");
    EXPECT_EQ(DecimalText(0.1 + 0.2), "0.30000000000000004");
}

// Hand-edited or damaged values are put right once at start-up, to the
// nearest value the program can use, and kept so; values already fine and
// keys not stored are left alone.
TEST(SettingsRepair, OutOfRangeValuesBecomeTheNearestValidOneAndAreWrittenBack) {
    MemorySettingsStore store;
    store.Write("Recent ROMs number", "-5");
    store.Write("White Tile Red", "256");
    store.Write("Black Tile Blue", "-1");
    store.Write("D Grey Tile Green", "99999999999999999999999");
    store.Write("Rename ROMs", "7");
    store.Write("Tile Display Mode", "abc");
    store.Write("VB Main Menu Theme", "maybe");
    store.Write("Reality Boy Brightness", "500");
    store.Write("AutoUpdate Viewer", "-1");
    store.Write("Base Directory", "/home/me/VB, roms");
    store.Write("L Grey Tile Red", "200");
    const int writes = store.WriteCount();

    std::vector<std::string> repaired = RepairSettings(store);
    EXPECT_EQ(store.WriteCount() - writes, static_cast<int>(repaired.size()));
    const auto& v = store.Values();
    EXPECT_EQ(v.at("Recent ROMs number"), "0");
    EXPECT_EQ(v.at("White Tile Red"), "255");
    EXPECT_EQ(v.at("Black Tile Blue"), "0");
    EXPECT_EQ(v.at("D Grey Tile Green"), "255");
    EXPECT_EQ(v.at("Rename ROMs"), "1");
    EXPECT_EQ(v.at("Tile Display Mode"), "0");  // not a number: the default
    EXPECT_EQ(v.at("VB Main Menu Theme"), "False");
    EXPECT_EQ(v.at("Reality Boy Brightness"), "127");
    EXPECT_EQ(v.at("AutoUpdate Viewer"), "-1");  // a yes/no value the program reads: kept
    EXPECT_EQ(v.at("Base Directory"), "/home/me/VB, roms");
    EXPECT_EQ(v.at("L Grey Tile Red"), "200");
    EXPECT_FALSE(store.Find("Reality Boy Palette"));
    EXPECT_EQ(repaired.size(), 8u);

    // The reads agree with what was written, and a second repair finds nothing.
    store.Write("Recent ROMs number", "256");
    EXPECT_EQ(ReadWhole(store, keys::RecentRomsNumber), 10);
    RepairSettings(store);
    EXPECT_TRUE(RepairSettings(store).empty());
}
