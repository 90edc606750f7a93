#include <gtest/gtest.h>

#include "app/SettingsKeys.h"

using namespace kestro::app;

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
