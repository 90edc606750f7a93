// SPDX-License-Identifier: GPL-3.0-or-later
// Which names the ROM database opens as zip archives.
#include <gtest/gtest.h>

#include "romdb/ZipArchive.h"

TEST(ZipNames, OnlyAZipExtensionInAnyCaseCounts) {
    const std::pair<const char*, bool> names[] = {{"game.zip", true}, {"GAME.ZiP", true}, {".zip", true},
                                                  {"zip", false},     {"game.zi", false}, {"gamezip", false},
                                                  {"", false},        {"a.zip.vb", false}};
    for (auto [name, zip] : names) EXPECT_EQ(kestro::romdb::IsZipFileName(name), zip) << name;
}
