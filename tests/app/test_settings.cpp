#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/SettingsKeys.h"

using namespace kestro::app;

namespace {

// Records the order of writes, to check the designed key order.
class OrderedStore final : public SettingsStore {
public:
    std::optional<std::string> Find(const std::string& key) const override { return inner.Find(key); }
    void Write(const std::string& key, const std::string& value) override {
        order.push_back(key);
        inner.Write(key, value);
    }
    MemorySettingsStore inner;
    std::vector<std::string> order;
};

}  // namespace

TEST(SettingsValues, ParseEachKindAndFallBackOnGarbage) {
    EXPECT_TRUE(ParseYesNo("True", false));
    EXPECT_TRUE(ParseYesNo("true", false));
    EXPECT_FALSE(ParseYesNo("False", true));
    EXPECT_TRUE(ParseYesNo("-1", false));
    EXPECT_FALSE(ParseYesNo("0", true));
    EXPECT_TRUE(ParseYesNo("abc", true));
    EXPECT_FALSE(ParseYesNo("", false));

    EXPECT_EQ(ParseWhole("4", 0), 4);
    EXPECT_EQ(ParseWhole(" -12 ", 0), -12);
    EXPECT_EQ(ParseWhole("abc", 7), 7);
    EXPECT_EQ(ParseWhole("40000", 7), 7);  // beyond 16 bits
    EXPECT_EQ(ParseWhole("32767", 7), 32767);
    EXPECT_EQ(ParseWhole("2.5", 7), 7);
}

TEST(SettingsValues, TypedReadsUseTableDefaultsAndStoreTextForms) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadWhole(store, keys::RecentRomsNumber), 4);
    EXPECT_FALSE(ReadYesNo(store, keys::MainMenuTheme));
    EXPECT_EQ(ReadText(store, keys::VersionNumber), "1.0");
    EXPECT_EQ(ReadText(store, keys::BaseDirectory), DefaultDirectory());
    EXPECT_EQ(ReadWhole(store, keys::TileColour[0][0]), 255);
    EXPECT_EQ(ReadWhole(store, keys::TileColour[3][0]), 64);

    WriteYesNo(store, keys::MainMenuTheme, true);
    WriteWhole(store, keys::RecentRomsNumber, 10);
    EXPECT_EQ(store.Values().at("VB Main Menu Theme"), "True");
    EXPECT_EQ(store.Values().at("Recent ROMs number"), "10");

    store.Write("Recent ROMs number", "lots");
    EXPECT_EQ(ReadWhole(store, keys::RecentRomsNumber), 4) << "garbage reads as the default";
}

TEST(AppSettings, FirstRunWritesEveryMainKeyInOrderWithDefaults) {
    OrderedStore store;
    AppSettings settings;
    settings.GetRegistry(store);
    settings.SaveRegistry(store);

    const std::vector<std::string>& order = store.order;
    ASSERT_EQ(order.size(), 1u + 2 + 1 + 1 + 1 + 10 + 1 + 1 + 12 + 12 + 4);
    EXPECT_EQ(order.front(), "Version Number");
    EXPECT_EQ(order[5], "Recent ROMs number");
    EXPECT_EQ(order[6], "Recent ROM #1");
    EXPECT_EQ(order[15], "Recent ROM #10");
    EXPECT_EQ(order[18], "White Tile Red");
    EXPECT_EQ(order[29], "Black Tile Blue");
    EXPECT_EQ(order[30], "Reality Boy Enabled");
    EXPECT_EQ(order[31], "Reality Boy Directory");
    EXPECT_EQ(order[41], "VB Dev Kit Directory");
    EXPECT_EQ(order.back(), "Create Change Log");

    const auto& v = store.inner.Values();
    EXPECT_EQ(v.at("Version Number"), "1.0");
    EXPECT_EQ(v.at("VB Main Menu Theme"), "False");
    EXPECT_EQ(v.at("Recent ROMs number"), "4");
    EXPECT_EQ(v.at("Recent ROM #3"), "");
    EXPECT_EQ(v.at("L Grey Tile Red"), "192");
    EXPECT_EQ(v.at("Detailed ROM Lists"), "0");
    EXPECT_EQ(v.at("Virtual-E Directory"), DefaultDirectory());
    EXPECT_EQ(v.count("Reality Boy Brightness"), 0u) << "front-end keys wait for their window";
}

TEST(AppSettings, StoredValuesSurviveAndVersionIsCarriedAsRead) {
    MemorySettingsStore store;
    store.Write("Version Number", "2.5");
    store.Write("VB Theme Colours", "True");
    store.Write("Red Dragon Enabled", "True");
    store.Write("Recent ROM #2", "/roms/golf.vb");

    AppSettings settings;
    settings.GetRegistry(store);
    settings.SaveRegistry(store);
    EXPECT_EQ(store.Values().at("Version Number"), "2.5");
    EXPECT_EQ(store.Values().at("Recent ROM #2"), "/roms/golf.vb");
    EXPECT_EQ(ThemeColourSet(settings), 1);
    EXPECT_TRUE(AnyEmulatorEnabled(settings));
    EXPECT_FALSE(AnyUtilityEnabled(settings));

    // The options window never writes the version.
    MemorySettingsStore other;
    settings.SaveRegistry(other, /*writeVersion=*/false);
    EXPECT_EQ(other.Values().count("Version Number"), 0u);
}
