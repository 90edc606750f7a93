// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' recent-file menus are tested through the ROM information
// window and the tile viewer; here the list's own edges.
#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "rom/RecentRomList.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

namespace kestro::rom {
namespace {

using Entries = std::array<std::string, kRecentRomSlots>;

// The first entries; the rest are empty.
Entries First(std::initializer_list<std::string> entries) {
    Entries all;
    std::copy(entries.begin(), entries.end(), all.begin());
    return all;
}

class RecentRomListTest : public ::testing::Test {
protected:
    // A store as a window finds it, loaded into a fresh list.
    RecentRomList& Loaded(int count, std::initializer_list<std::string> entries) {
        m_store.Write("Recent ROMs number", std::to_string(count));
        int i = 0;
        for (const auto& entry : entries) m_store.Write("Recent ROM #" + std::to_string(++i), entry);
        m_list.Load();
        return m_list;
    }
    // The ten stored keys, as the next window will read them.
    Entries Stored() const {
        Entries stored;
        for (std::size_t i = 0; i < stored.size(); ++i)
            stored[i] = m_store.Read("Recent ROM #" + std::to_string(i + 1), "?");
        return stored;
    }

    base::MemorySettingsStore m_store;
    RecentRomList m_list{m_store};
};

TEST_F(RecentRomListTest, AddMovesToTheFrontAndRemoveClosesTheGap) {
    auto& list = Loaded(4, {"A", "B", "C", "D"});
    list.Add("E");
    EXPECT_EQ(Stored(), First({"E", "A", "B", "C"}));
    list.Add("B");
    EXPECT_EQ(Stored(), First({"B", "E", "A", "C"}));
    list.Add("b");  // letter case makes another path
    EXPECT_EQ(Stored(), First({"b", "B", "E", "A"}));
    list.Remove("E");
    list.Remove("not there");
    EXPECT_EQ(Stored(), First({"b", "B", "A"}));

    Loaded(10, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}).Add("new");
    EXPECT_EQ(Stored(), First({"new", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));
    m_list.Remove("2");  // a full list closes its gap within its ten slots
    EXPECT_EQ(Stored(), First({"new", "0", "1", "3", "4", "5", "6", "7", "8"}));
}

TEST_F(RecentRomListTest, CountBoundsTheListAndZeroSwitchesItOff) {
    Loaded(10, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    Loaded(2, {}).Refresh();
    EXPECT_EQ(Stored(), First({"0", "1"})) << "a lowered count empties the rest";
    for (auto [text, count] : {std::pair{"lots", 4}, {"15", 10}, {"-3", 0}}) {
        m_store.Write("Recent ROMs number", text);
        m_list.Load();
        EXPECT_EQ(m_list.Count(), count) << text;
    }
    Loaded(0, {"A", "B"}).Add("C");
    EXPECT_EQ(Stored(), Entries{});
    EXPECT_FALSE(m_list.Menu().submenuVisible);
    Loaded(4, {"", "/r/b.vb"});
    EXPECT_FALSE(m_list.Menu().submenuVisible) << "an empty first entry hides the whole submenu";
}

// Choosing by a number outside the menu opens nothing and keeps the list.
TEST(RecentRomSelect, AnIndexOutsideTheSlotsOpensNothing) {
    test::TempDir dir;
    const std::string game = dir.File("game.vb");
    test::WriteText(game, "rom");
    base::MemorySettingsStore store;
    // An existing file's path on both sides of the list: a look past its slots would open it.
    struct {
        std::string before[2];
        RecentRomList list;
        std::string after;
    } around{{game, game}, RecentRomList(store), game};
    around.list.Add(dir.File("gone.vb"));
    for (int index : {-1, kRecentRomSlots}) EXPECT_FALSE(around.list.Select(index)) << index;
    EXPECT_EQ(around.list.Entries()[0], dir.File("gone.vb"));
}

}  // namespace
}  // namespace kestro::rom
