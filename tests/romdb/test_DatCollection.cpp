// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "romdb/Catalogue.h"
#include "romdb/Listing.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/SummaryWording.h"
#include "romdb/ZipArchive.h"

using namespace kestro;
using namespace kestro::romdb;

namespace {

const auto Lines = test::ReportLines;

// The mixed DAT collection, identified against its Logiqx DAT.
class DatCollectionTest : public test::CollectionTest {
protected:
    void SetUp() override {
        test::WriteDatCollection(dir.Path());
        DatRead read = ParseDat(test::LogiqxDat("Nintendo - Virtual Boy", test::CollectionGames()));
        ASSERT_TRUE(read) << read.error;
        catalogue = std::make_shared<const Catalogue>(std::move(*read.dat));
        collection.SetCatalogue(catalogue);
    }
    std::shared_ptr<const Catalogue> catalogue;
};

}  // namespace

TEST_F(DatCollectionTest, EveryFileIsNamedByItsContentAndTheReportsCountTheDatsGames) {
    Run({});  // each file's status is the command line's test, over either form of the DAT
    // Every matched file's checksum is its CRC32 in upper case, whichever hexadecimal letters it holds.
    for (const test::Game& game : test::CollectionGames()) {
        for (const FileRow& row : collection.Rows())
            if (row.identified == game.name) { EXPECT_EQ(ReportChecksum(row), test::Crc32Of(game.roms[0].bytes, "%08X")); }
    }
    EXPECT_EQ(Row("one.vb").hashes.sha1, test::DigestOf("SHA1", test::CollectionGames()[0].roms[0].bytes));
    EXPECT_EQ(ReportChecksum(Row("squash.vb")), "") << "a CRC match with another SHA-1 is no match";
    // The broken archive is named with its reason, as an unreadable file is.
    const std::string unread = host.Text("Files not read");
    EXPECT_NE(unread.find("broken.zip"), std::string::npos) << unread;
    EXPECT_NE(unread.find("not a readable zip archive"), std::string::npos) << unread;

    const Reports& r = collection.reports();
    EXPECT_EQ(r.have(), Lines({"Good ROMs:", "  Golf (USA)", "  Mario Clash (Japan, USA)", "  Red Alarm (USA)",
                               "  Wario: Land / Special", "", "Bad ROMs:", "  Virtual Fishing (Japan) [b1]", "",
                               "PD/Translated ROMs:", "  Virtual Pong (PD)", "",
                               "Unknown ROMs:", "  UNKNOWN ROM: Please send me a copy so I can include it.",
                               "  UNKNOWN ROM: Please send me a copy so I can include it.", "",
                               "Invalid ROMs:", "  INVALID ROM: Possibly not a VB ROM image.",
                               "  INVALID ROM: Possibly not a VB ROM image."}));
    EXPECT_EQ(r.miss(), Lines({"Good ROMs:", "  Jack Bros. (Japan)", "  Panic Bomber (USA)", "  Space Squash (Japan)",
                               "", "Bad ROMs:", "  None", "", "PD/Translated ROMs:", "  None"}));
    EXPECT_EQ(r.dupes(), Lines({"Good ROMs:", "  Golf (USA) [1 copy]", "  Red Alarm (USA) [1 copy]", "",
                                "Bad ROMs:", "  None", "", "PD/Translated ROMs:", "  None"}));
    // The summaries' texts are the report tests'; here the DAT's counts in them.
    EXPECT_EQ(HaveSummary(r.counters(), *catalogue).text.substr(0, 125),
              " You have 06 out of 09 known Nintendo Virtual Boy ROMs\r\rOut of 12 files:\r"
              "   04 match a game of the DAT in size and checksums\r");
    EXPECT_EQ(MissSummary(r.counters(), *catalogue).text.substr(0, 141),
              " You are missing 03 out of 09 known Nintendo Virtual Boy ROMs\r\rOut of these files:\r"
              "   03 are games of the DAT without a [b], (PD) or [T] tag\r");

    // The fixdat holds exactly the missing games, as the DAT had them.
    ASSERT_TRUE(SaveMissingGames(files, dir.File("fix.dat"), *catalogue, collection.ReportFiles(), false));
    DatRead fix = ReadDatFile(dir.File("fix.dat"));
    ASSERT_TRUE(fix) << fix.error;
    EXPECT_EQ(fix.dat->name, "Nintendo - Virtual Boy (missing)");
    ASSERT_EQ(fix.dat->games.size(), 3u);
    const std::size_t missingGames[] = {1, 3, 5};
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(fix.dat->games[i], catalogue->Dat()->games[missingGames[i]]);
}

TEST_F(DatCollectionTest, RenameGivesDatNamesAndRenamesArchivesWithoutTouchingThem) {
    const auto before = test::FilesUnder(dir.Path());
    RunRename(true);
    const auto after = test::FilesUnder(dir.Path());
    const auto at = [&](const std::string& from, const std::string& to) {
        ASSERT_EQ(after.count(to), 1u) << to;
        EXPECT_EQ(after.at(to), before.at(from)) << from << " -> " << to;
    };
    at("golf-copy.vb", "VBoyRen/Golf (USA).vb");
    at("one.vb", "VBoyRen/Copy of Golf (USA).vb");
    at("alarm.vb", "VBoyRen/Red Alarm (USA).vb");
    // An archive is renamed after its one game, its bytes (and a readme in it) unchanged.
    at("alarm.zip", "VBoyRen/Red Alarm (USA).zip");
    at("mario.zip", "VBoyRen/Mario Clash (Japan, USA).zip");
    at("pong.zip", "VBoyRen/Virtual Pong (PD).zip");
    at("fish.VB", "VBoyRen/Virtual Fishing (Japan) [b1].vb");
    // A file takes its rom's name where the DAT's game name is shorter, and
    // "/" and ":", which cannot be in a file name, become "_".
    at("wario.vb", "VBoyRen/Wario_ Land _ Special (Aftermarket) (Unl).vb");
    for (const char* stays : {"broken.zip", "mystery.vb", "squash.vb", "tiny.vb", "notes.txt"}) at(stays, stays);
    EXPECT_EQ(after.size(), before.size());

    const std::string log = collection.reports().log();
    const std::size_t skipped = log.find("Skipping " + Base() + "broken.zip ");
    ASSERT_NE(skipped, std::string::npos) << log;
    EXPECT_EQ(log.substr(log.find("\r\n", skipped) - 14, 16), " : INVALID ROM\r\n");
    // The listing ends on VBoyRen, identified again, archives read again there.
    EXPECT_EQ(collection.ListingDirectory(), Base() + "VBoyRen");
    EXPECT_EQ(Row(ZipRowName("Red Alarm (USA).zip", "x.vb")).identified, "Red Alarm (USA)");
    EXPECT_EQ(Row("Wario_ Land _ Special (Aftermarket) (Unl).vb").identified, "Wario: Land / Special");
    EXPECT_NE(collection.reports().have().find("  Wario: Land / Special\r\n"), std::string::npos);
}

TEST_F(DatCollectionTest, HugeAndLyingEntriesAreRefused) {
    // A zip bomb in miniature: 17 MiB of zeros pack into a few KiB.
    test::WriteZip(dir.File("bomb.zip"), {{"bomb.vb", std::vector<std::uint8_t>((17u << 20), 0)}});
    Run({});
    EXPECT_EQ(Row(ZipRowName("bomb.zip", "bomb.vb")).identified, "[INVALID VB ROM IMAGE]");
    EXPECT_NE(host.Text("Files not read").find("more than the largest Virtual Boy ROM (16 MiB)"), std::string::npos)
        << host.Text("Files not read");

    // Zipped and unzipped copies of one game are one game held twice.
    EXPECT_EQ(collection.reports().counters().extraCopies, 2);
}

// An archive is opened once for all its entries: removed as soon as its first
// entry is read, the rest are still read from the archive opened then.
TEST_F(DatCollectionTest, ArchiveIsOpenedOnceForAllItsEntries) {
    test::WriteZip(dir.File("zz.zip"),
                   {{"a.vb", test::DumpBytes(21)}, {"b.vb", test::DumpBytes(22)}, {"c.vb", test::DumpBytes(23)}});
    host.onEvents = [this](int) {
        const auto& rows = collection.Rows();
        if (!rows.empty() && rows.back().archive == "zz.zip" && collection.Status(rows.size() - 3) == "Golf (USA)")
            std::filesystem::remove(dir.File("zz.zip"));
    };
    Run({});
    EXPECT_FALSE(std::filesystem::exists(dir.File("zz.zip")));
    EXPECT_EQ(Row(ZipRowName("zz.zip", "b.vb")).identified, "Mario Clash (Japan, USA)");
    EXPECT_EQ(Row(ZipRowName("zz.zip", "c.vb")).identified, "Red Alarm (USA)");
}
