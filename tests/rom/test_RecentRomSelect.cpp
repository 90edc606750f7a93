// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a recent file by a number outside the menu opens nothing and keeps the list.
#include <gtest/gtest.h>

#include "rom/RecentRomList.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

namespace kestro::rom {

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

}  // namespace kestro::rom
