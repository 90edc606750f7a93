#include <gtest/gtest.h>

#include <set>

#include "rom/Identification.h"
#include "support/core/RomBuilder.h"

namespace kestro::rom {
namespace {

using kestro::test::RomBuilder;

constexpr const char* kUnknownLabel = "[UNKNOWN VB ROM]  -  Please send me a copy.";

// Homebrew rows whose column B is not their column A plus the expected
// header: for the first three no 32 bytes can make up the difference, the
// two demos carried another header when they were summed. The table keeps them.
bool IsHomebrewWithForeignColumns(std::string_view name) {
    return name == "Croach, The (PD)" || name == "Virtual Pong (PD)" || name == "Virtual-E Cursor Demo (PD)";
}
bool ColumnBIsNotFromTheExpectedHeader(std::string_view name) {
    return IsHomebrewWithForeignColumns(name) || name == "Reality Boy Demo 1 (PD)" || name == "Reality Boy Demo 2 (PD)";
}

std::uint32_t Hex(std::string_view text) {
    return static_cast<std::uint32_t>(std::stoul(std::string(text), nullptr, 16));
}

// A typo in a title byte, maker or game code shows up here: for a dump that
// carries its expected header, column B minus column A is the header's sum.
TEST(KnownRomTable, ColumnsDifferByTheExpectedHeadersSum) {
    ASSERT_EQ(kKnownRomTable.size(), 38u);
    std::set<std::string_view> names;
    for (const KnownRom& row : kKnownRomTable) {
        names.insert(row.name);
        for (auto text : {row.columnA, row.columnB}) {
            EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string_view::npos) << row.name;
            EXPECT_EQ(text.size(), 8u) << row.name;
        }
        const std::uint32_t difference = Hex(row.columnB) - Hex(row.columnA);
        if (IsHomebrewWithForeignColumns(row.name)) {
            EXPECT_GT(difference, 32u * 255u) << row.name;
        }
        if (ColumnBIsNotFromTheExpectedHeader(row.name)) continue;
        auto header = *ExpectedHeader(row.name);
        std::uint32_t sum = header.version;
        for (char c : PadField(header.title, 20) + PadField(header.makerCode, 2) + PadField(header.gameCode, 4)) {
            sum += static_cast<std::uint8_t>(c);
        }
        EXPECT_EQ(difference, sum) << row.name;
    }
    EXPECT_EQ(names.size(), 38u);
}

TEST(KnownRomTable, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(LookupRom("0681D85B", ChecksumColumn::A), "Mario Clash (JU) [!]");
    EXPECT_EQ(LookupRom("0681DE13", ChecksumColumn::B), "Mario Clash (JU) [b1]");
    EXPECT_EQ(LookupRom("0681d85b", ChecksumColumn::A), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRom("0681D85B", ChecksumColumn::B), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRom("0681D85B ", ChecksumColumn::A), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRom("", ChecksumColumn::A), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRom("0681D85B", static_cast<ChecksumColumn>('C')), "");

    EXPECT_EQ(LookupRomInCollection("", ChecksumColumn::A), "[BAD ROM]");
    EXPECT_EQ(LookupRomInCollection("12345678", ChecksumColumn::B), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRomInCollection("030D4632", ChecksumColumn::A), "V Tetris (J) [!]");

    EXPECT_EQ(LookupRomChecksum("Golf (U) [!]", ChecksumColumn::B), "1088202E");
    EXPECT_EQ(LookupRomChecksum("golf (U) [!]", ChecksumColumn::A), "");
    EXPECT_EQ(LookupRomChecksum("Golf (U) [!]", static_cast<ChecksumColumn>('x')), "");
}

TEST(KnownRomTable, ExpectedHeadersByName) {
    EXPECT_EQ(ExpectedHeader("Mario Clash (JU) [!]"), (RomHeader{"MARIO CLASH", "01", "VMCJ", 0}));
    EXPECT_EQ(ExpectedHeader("V Tetris (J) [!]"), (RomHeader{"V\xA5TETRIS", "8B", "VTRJ", 0}));
    EXPECT_EQ(ExpectedHeader("Virtual Pro Baseball '95 (J) [!]")->title,
              "\xCA\xDE\xB0\xC1\xAC\xD9\xCC\xDF\xDB\xD4\xB7\xAD\xB3'95");
    EXPECT_EQ(ExpectedHeader("Mario Clash (JU) [h]"), std::nullopt);
    EXPECT_EQ(ExpectedHeader("[UNKNOWN VB ROM]"), std::nullopt);
    EXPECT_TRUE(IsKnownName("Croach, The (PD)"));
    EXPECT_FALSE(IsKnownName("Croach, The (PD) "));
}

TEST(Identification, EveryRowAndItsHackedForm) {
    for (const KnownRom& row : kKnownRomTable) {
        auto good = IdentifyChecksums(std::string(row.columnA), std::string(row.columnB));
        EXPECT_EQ(good.label, row.name);
        EXPECT_TRUE(good.revertAvailable);
        EXPECT_FALSE(good.HeaderChanged());

        auto hacked = IdentifyChecksums(std::string(row.columnA), "00000000");
        EXPECT_TRUE(hacked.revertAvailable) << row.name;
        EXPECT_TRUE(hacked.HeaderChanged());
        EXPECT_EQ(hacked.label, HackedForm(row.name));
    }
    EXPECT_EQ(HackedForm("Golf (U) [!]"), "Golf (U) [h]");
    EXPECT_EQ(HackedForm("Mario Clash (JU) [b1]"), "Mario Clash (JU) [b1] [h]");
    EXPECT_EQ(HackedForm("Croach, The (PD)"), "Croach, The (PD) [h]");
}

TEST(Identification, GeneratedRomsOfEachClass) {
    auto good = IdentifyRom(RomBuilder::KnownDump("Mario Clash (JU) [!]").Build());
    EXPECT_EQ(good.checksumA, "0681D85B");
    EXPECT_EQ(good.checksumB, "0681DE0F");
    EXPECT_EQ(good.label, "Mario Clash (JU) [!]");
    EXPECT_TRUE(good.revertAvailable);

    auto hacked = IdentifyRom(RomBuilder::KnownDump("Mario Clash (JU) [!]").GameCode("VMCE").Build());
    EXPECT_EQ(hacked.checksumA, "0681D85B");
    EXPECT_NE(hacked.checksumB, "0681DE0F");
    EXPECT_EQ(hacked.label, "Mario Clash (JU) [h]");
    EXPECT_TRUE(hacked.revertAvailable);
    EXPECT_EQ(RevertHeader(hacked.checksumA), (RomHeader{"MARIO CLASH", "01", "VMCJ", 0}));

    EXPECT_EQ(IdentifyRom(RomBuilder::KnownDump("Mario Clash (JU) [b1]").Build()).label, "Mario Clash (JU) [b1]");
    EXPECT_EQ(IdentifyRom(RomBuilder::KnownDump("Mario Clash (JU) [b1]").Version(1).Build()).label,
              "Mario Clash (JU) [b1] [h]");
    EXPECT_EQ(IdentifyRom(RomBuilder::KnownDump("Teleroboxer (JU) [T-German0.40b_QM404T]").Title("X").Build()).label,
              "Teleroboxer (JU) [T-German0.40b_QM404T] [h]");

    auto unknown = IdentifyRom(RomBuilder::Unknown().Build());
    EXPECT_EQ(unknown.label, kUnknownLabel);
    EXPECT_FALSE(unknown.revertAvailable);
    EXPECT_FALSE(unknown.Known());
    EXPECT_EQ(RevertHeader(unknown.checksumA), std::nullopt);
}

// Every row that can be rebuilt from its expected header is recognised as
// itself, katakana titles included.
TEST(Identification, KnownDumpBuildsIdentifyAsTheirRow) {
    for (const KnownRom& row : kKnownRomTable) {
        if (ColumnBIsNotFromTheExpectedHeader(row.name)) continue;
        auto data = RomBuilder::KnownDump(row.name).Build();
        EXPECT_EQ(IdentifyRom(data).label, row.name);
        EXPECT_EQ(DecodeHeader(data), ExpectedHeader(row.name));
    }
    EXPECT_THROW(RomBuilder::KnownDump("Mario Clash (JU) [h]"), std::invalid_argument);
}

}  // namespace
}  // namespace kestro::rom
