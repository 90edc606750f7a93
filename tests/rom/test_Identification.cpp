// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "rom/Identification.h"
#include "rom/MakerTable.h"
#include "support/core/RomBuilder.h"

namespace kestro::rom {
namespace {

using kestro::test::RomBuilder;

// Homebrew rows whose column B is not their column A plus the expected
// header: for the first three no 32 bytes can make up the difference, the
// two demos carried another header when they were summed. The table keeps them.
bool ColumnBIsNotFromTheExpectedHeader(std::string_view name) {
    return name == "Croach, The (PD)" || name == "Virtual Pong (PD)" || name == "Virtual-E Cursor Demo (PD)" ||
           name == "Reality Boy Demo 1 (PD)" || name == "Reality Boy Demo 2 (PD)";
}

// A typo in a row's checksums, title bytes (katakana included), maker or game
// code shows up here: a dump built from the row's expected header must
// identify as the row, and the same bytes under another header as its "[h]"
// form. The windows and the command line show generated dumps of each class.
TEST(Identification, EveryRowAndItsHackedForm) {
    std::set<std::string_view> names;
    for (const KnownRom& row : kKnownRomTable) {
        names.insert(row.name);
        auto hacked = IdentifyChecksums(std::string(row.columnA), "00000000");
        EXPECT_EQ(hacked.label, HackedForm(row.name));
        EXPECT_TRUE(hacked.revertAvailable) << row.name;
        if (ColumnBIsNotFromTheExpectedHeader(row.name)) {
            EXPECT_EQ(IdentifyChecksums(std::string(row.columnA), std::string(row.columnB)).label, row.name);
            continue;
        }
        auto good = IdentifyRom(RomBuilder::KnownDump(row.name).Build());
        EXPECT_EQ(good.label, row.name);
        EXPECT_EQ(good.checksumB, row.columnB);
        EXPECT_TRUE(good.revertAvailable);
    }
    EXPECT_EQ(names.size(), 38u);
    EXPECT_EQ(HackedForm("Golf (U) [!]"), "Golf (U) [h]");
    EXPECT_EQ(HackedForm("Mario Clash (JU) [b1]"), "Mario Clash (JU) [b1] [h]");
}

TEST(KnownRomTable, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(LookupRom("0681D85B", ChecksumColumn::A), "Mario Clash (JU) [!]");
    EXPECT_EQ(LookupRom("0681DE13", ChecksumColumn::B), "Mario Clash (JU) [b1]");
    EXPECT_EQ(LookupRom("0681d85b", ChecksumColumn::A), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRom("0681D85B", static_cast<ChecksumColumn>('C')), "");
    EXPECT_EQ(LookupRomInCollection("", ChecksumColumn::A), "[BAD ROM]");
    EXPECT_EQ(LookupRomChecksum("Golf (U) [!]", ChecksumColumn::B), "1088202E");
    EXPECT_FALSE(IsKnownName("Croach, The (PD) "));
}

// The ROM information window's maker box and list are tested through the
// window; here the lookups' edges and the names the reports use.
TEST(MakerTable, CodesMatchExactlyAndEveryRowHasItsNames) {
    EXPECT_EQ(FindMaker("01 "), 0);  // trailing spaces of the header field do not count
    EXPECT_EQ(FindMaker("e4"), std::nullopt);
    EXPECT_EQ(MakerCode(13), "");
    EXPECT_EQ(MakerCode(-1), "");
    EXPECT_EQ(MakerReportName("8B"), " (Bullet-Proof S/W)");
    EXPECT_EQ(MakerReportName("0b"), " (UNKNOWN MANU ID)");
    for (const Maker& maker : kMakers) EXPECT_EQ(MakerCode(*FindMaker(maker.code)), maker.code);
}

}  // namespace
}  // namespace kestro::rom
