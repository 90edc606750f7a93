// SPDX-License-Identifier: GPL-3.0-or-later
// Telling a dump by its checksums: the sums, the table of known dumps, and the makers.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "kestro/VbChecksum.h"
#include "rom/Checksum.h"
#include "rom/Identification.h"
#include "rom/MakerTable.h"
#include "support/core/RomBuilder.h"

namespace kestro::rom {
namespace {

using kestro::test::RomBuilder;

std::uint32_t PlainSum(const std::vector<std::uint8_t>& data) {
    std::uint32_t sum = 0;
    for (auto b : data) sum += b;
    return sum;
}

// The vectorised sum works in rows and blocks; every length around their
// edges, and bytes of 255 that would overflow a lane kept too long.
TEST(Checksum, ByteSumMatchesAPlainSumAtEveryEdge) {
    std::mt19937 random(3);
    for (std::size_t size : {0u, 1u, 31u, 32u, 33u, 8191u, 8192u, 8193u, 8192u * 3 + 17, 1048576u}) {
        std::vector<std::uint8_t> full(size, 0xFF);
        EXPECT_EQ(checksum::ByteSum(full.data(), size), PlainSum(full)) << size;
        std::vector<std::uint8_t> noise(size);
        for (auto& b : noise) b = static_cast<std::uint8_t>(random());
        EXPECT_EQ(checksum::ByteSum(noise.data(), size), PlainSum(noise)) << size;
    }
    // Past 16 MiB of 0xFF the sum wraps modulo 2^32.
    std::vector<std::uint8_t> huge(17u << 20, 0xFF);
    EXPECT_EQ(checksum::ByteSum(huge.data(), huge.size()), PlainSum(huge));
}

TEST(Checksum, TextsLeaveOutOnlyTheHeader) {
    std::vector<std::uint8_t> rom(1024, 0);
    rom[0] = 0x10;
    rom[1024 - 544] = 0x7F;       // first header byte
    rom[1024 - 544 + 31] = 0x01;  // version byte, last header byte
    rom[1024 - 544 + 32] = 0x02;  // first vector byte, summed in both
    EXPECT_EQ(Checksum(rom, false), "00000012");
    EXPECT_EQ(Checksum(rom, true), "00000092");

    // The library's own contract: text into the buffer, 0 and nothing written for bad arguments.
    char out[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(ChecksumFunction()(reinterpret_cast<const char*>(rom.data()), -1, 0, out), 0);
    EXPECT_EQ(std::string(out, 8), "xxxxxxxx");
    EXPECT_EQ(ChecksumFunction()(reinterpret_cast<const char*>(rom.data()), 1024, -1, out), 1);
    EXPECT_EQ(std::string(out, 8), "00000092");
}

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
}

TEST(KnownRomTable, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(LookupRom("0681D85B", ChecksumColumn::A), "Mario Clash (JU) [!]");
    EXPECT_EQ(LookupRom("0681DE13", ChecksumColumn::B), "Mario Clash (JU) [b1]");
    EXPECT_EQ(LookupRom("0681d85b", ChecksumColumn::A), "[UNKNOWN VB ROM]");
    EXPECT_EQ(LookupRom("0681D85B", static_cast<ChecksumColumn>('C')), "");
    EXPECT_EQ(LookupRomInCollection("", ChecksumColumn::A), "[BAD ROM]");
    EXPECT_EQ(LookupRomChecksum("Golf (U) [!]", ChecksumColumn::B), "1088202E");
}

// The ROM information window's maker box and list are tested through the
// window; here the lookups' edges and the names the reports use.
TEST(MakerTable, CodesMatchExactlyAndEveryRowHasItsNames) {
    EXPECT_EQ(FindMaker("01 "), 0);  // trailing spaces of the header field do not count
    EXPECT_EQ(MakerCode(13), "");
    EXPECT_EQ(MakerCode(-1), "");
    for (const Maker& maker : kMakers) EXPECT_EQ(MakerCode(*FindMaker(maker.code)), maker.code);
}

}  // namespace
}  // namespace kestro::rom
