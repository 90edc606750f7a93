#include <gtest/gtest.h>

#include <fstream>

#include "app/SettingsKeys.h"
#include "rom/RecentRomList.h"
#include "support/core/TempDir.h"

namespace kestro::rom {
namespace {

using Entries = std::array<std::string, kRecentRomSlots>;

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

    app::MemorySettingsStore m_store;
    RecentRomList m_list{m_store};
};

TEST_F(RecentRomListTest, AddMovesAPathToTheFront) {
    auto& list = Loaded(4, {"A", "B", "C", "D"});
    list.Add("E");
    EXPECT_EQ(Stored(), (Entries{"E", "A", "B", "C", "", "", "", "", "", ""}));
    list.Add("B");
    EXPECT_EQ(Stored(), (Entries{"B", "E", "A", "C", "", "", "", "", "", ""}));
    list.Add("B");
    EXPECT_EQ(list.Entries(), Stored());
    EXPECT_EQ(Stored()[0], "B");

    Loaded(4, {"A", "B", "C", "D"}).Add("C");
    EXPECT_EQ(Stored(), (Entries{"C", "A", "B", "D", "", "", "", "", "", ""}));

    // Letter case makes another path.
    Loaded(4, {"/roms/a.vb", "B"}).Add("/roms/A.vb");
    EXPECT_EQ(Stored()[0], "/roms/A.vb");
    EXPECT_EQ(Stored()[1], "/roms/a.vb");
}

TEST_F(RecentRomListTest, AFullListDropsItsOldestEntry) {
    auto& list = Loaded(10, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    list.Add("new");
    EXPECT_EQ(Stored(), (Entries{"new", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));
}

TEST_F(RecentRomListTest, RemoveClosesTheGap) {
    auto& list = Loaded(4, {"A", "B", "C", "D"});
    list.Remove("B");
    EXPECT_EQ(Stored(), (Entries{"A", "C", "D", "", "", "", "", "", "", ""}));
    list.Remove("not there");
    EXPECT_EQ(Stored(), (Entries{"A", "C", "D", "", "", "", "", "", "", ""}));
    list.Remove("A");
    list.Remove("C");
    list.Remove("D");
    EXPECT_FALSE(list.Menu().submenuVisible);
}

TEST_F(RecentRomListTest, CountZeroKeepsNothing) {
    auto& list = Loaded(0, {"A", "B"});
    list.Add("C");
    EXPECT_EQ(Stored(), Entries{});
    RecentMenu menu = list.Menu();
    EXPECT_FALSE(menu.submenuVisible);
    EXPECT_FALSE(menu.separatorVisible);
    EXPECT_EQ(list.DropDownItems(), std::vector<std::string>{"Please select a file name..."});
}

TEST_F(RecentRomListTest, LoweringTheCountEmptiesTheRestAtTheNextRefresh) {
    Loaded(10, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    auto& list = Loaded(2, {});
    EXPECT_EQ(Stored()[9], "9");
    list.Refresh();
    EXPECT_EQ(Stored(), (Entries{"0", "1", "", "", "", "", "", "", "", ""}));

    // Garbage or out-of-range counts are read as the default or the nearest end.
    m_store.Write("Recent ROMs number", "lots");
    m_list.Load();
    EXPECT_EQ(m_list.Count(), 4);
    m_store.Write("Recent ROMs number", "15");
    m_list.Load();
    EXPECT_EQ(m_list.Count(), 10);
    m_store.Write("Recent ROMs number", "-3");
    m_list.Load();
    EXPECT_EQ(m_list.Count(), 0);
}

TEST_F(RecentRomListTest, MenuShowsEntriesInUseWithTheirAccessKeys) {
    auto& list = Loaded(5, {"/r/a.vb", "/r/b.vb", "", "/r/d.vb", "/r/e.vb", "/r/f.vb"});
    list.Refresh();
    RecentMenu menu = list.Menu();
    EXPECT_TRUE(menu.submenuVisible);
    EXPECT_TRUE(menu.separatorVisible);
    EXPECT_EQ(menu.items[0], (RecentMenuItem{"&0 /r/a.vb", true}));
    EXPECT_EQ(menu.items[1], (RecentMenuItem{"&1 /r/b.vb", true}));
    EXPECT_FALSE(menu.items[2].visible);  // empty entry
    EXPECT_EQ(menu.items[3], (RecentMenuItem{"&3 /r/d.vb", true}));
    EXPECT_EQ(menu.items[4].caption, "&4 /r/e.vb");
    EXPECT_FALSE(menu.items[5].visible);  // beyond the count
    EXPECT_EQ(list.DropDownItems(),
              (std::vector<std::string>{"Please select a file name...", "/r/a.vb", "/r/b.vb", "/r/d.vb", "/r/e.vb"}));

    Loaded(4, {"", "/r/b.vb"});
    EXPECT_FALSE(m_list.Menu().submenuVisible);  // item 0 empty hides the whole submenu
}

TEST_F(RecentRomListTest, ChoosingADeletedFileRemovesItSilently) {
    kestro::test::TempDir dir;
    const std::string existing = dir.File("here.vb");
    { std::ofstream(existing) << "rom"; }
    auto& list = Loaded(4, {dir.File("gone.vb"), existing});
    EXPECT_EQ(list.Select(1), existing);
    EXPECT_EQ(list.Select(0), std::nullopt);
    EXPECT_EQ(Stored(), (Entries{existing, "", "", "", "", "", "", "", "", ""}));
}

}  // namespace
}  // namespace kestro::rom
