// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "romdb/Catalogue.h"
#include "romdb/ContentHash.h"
#include "romdb/DatFile.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::romdb;

namespace {

// Three games: one of two roms, a name that needs escaping in XML, and one
// rom with an MD5 only; a game without roms is no game.
std::vector<test::Game> SampleGames() {
    test::GameRom plain{"Alpha (USA).vb", test::DumpBytes(1)};
    test::GameRom second{"Alpha (USA) (Track 2).vb", test::DumpBytes(2)};
    test::GameRom md5Only{"Beta & Gamma (Japan).vb", test::DumpBytes(3)};
    md5Only.withSha1 = false;
    return {{"Alpha (USA)", {plain, second}}, {"Beta & Gamma (Japan)", {md5Only}}, {"Empty Set", {}}};
}

HashNeeds All() {
    return {.crc = true, .sha1 = true, .md5 = true};
}

FileHashes HashesOf(const std::vector<std::uint8_t>& bytes, HashNeeds needs = All()) {
    HashRun run;
    run.Start(needs);
    run.Update(bytes.data(), bytes.size());
    return run.Finish();
}

}  // namespace

TEST(DatFile, BothFormsGiveTheSameCatalogue) {
    const auto games = SampleGames();
    DatRead xml = ParseDat(test::LogiqxDat("Nintendo - Virtual Boy", games));
    DatRead cmp = ParseDat(test::ClrMameProDat("Nintendo - Virtual Boy", games));
    ASSERT_TRUE(xml) << xml.error;
    ASSERT_TRUE(cmp) << cmp.error;
    EXPECT_EQ(xml.dat->format, DatFile::Format::Logiqx);
    EXPECT_EQ(cmp.dat->format, DatFile::Format::ClrMamePro);
    for (const DatRead* read : {&xml, &cmp}) {
        const DatFile& dat = *read->dat;
        EXPECT_EQ(dat.name, "Nintendo - Virtual Boy");
        EXPECT_EQ(dat.description, "Nintendo - Virtual Boy (test)");
        ASSERT_EQ(dat.games.size(), 2u) << "the game without roms is left out";
        EXPECT_EQ(dat.games[0].roms.size(), 2u);
        EXPECT_EQ(dat.games[1].name, "Beta & Gamma (Japan)");
        const DatRom& rom = dat.games[0].roms[1];
        EXPECT_EQ(rom.name, "Alpha (USA) (Track 2).vb");
        EXPECT_EQ(rom.size, 64 * 1024);
        EXPECT_EQ(rom.crc, test::Crc32Of(games[0].roms[1].bytes)) << "kept in lower case";
        EXPECT_EQ(rom.sha1, test::DigestOf("SHA1", games[0].roms[1].bytes));
        EXPECT_TRUE(dat.games[1].roms[0].sha1.empty());
    }
    EXPECT_EQ(xml.dat->games, cmp.dat->games);

    // What the fixdat writer makes reads back as the same games, in either direction.
    DatRead again = ParseDat(WriteLogiqxDat("Fix", "Fix (missing)", xml.dat->games));
    ASSERT_TRUE(again) << again.error;
    EXPECT_EQ(again.dat->games, xml.dat->games);
    EXPECT_EQ(again.dat->name, "Fix");
}

TEST(DatFile, BrokenForeignAndCutShortFilesAreRefusedByLine) {
    const std::string xml = test::LogiqxDat("Set", SampleGames());
    const std::string cmp = test::ClrMameProDat("Set", SampleGames());
    // Cut anywhere, neither form crashes or hangs; a cut inside a game names a line.
    for (std::size_t cut = 0; cut < xml.size(); cut += 7) {
        DatRead read = ParseDat(xml.substr(0, cut));
        ASSERT_FALSE(read) << "cut at " << cut;
        EXPECT_FALSE(read.error.empty());
    }
    for (std::size_t cut = 0; cut < cmp.size(); cut += 5) ParseDat(cmp.substr(0, cut));

    const std::size_t xmlCut = xml.find("<rom", xml.find("Beta"));
    DatRead truncated = ParseDat(xml.substr(0, xmlCut + 10));
    EXPECT_NE(truncated.error.find("line 14: the file ends in the middle of the DAT"), std::string::npos)
        << truncated.error;
    DatRead cmpTruncated = ParseDat(cmp.substr(0, cmp.find("rom", cmp.find("Beta")) + 3));
    EXPECT_EQ(cmpTruncated.error.substr(0, 8), "line 16:") << cmpTruncated.error;
    EXPECT_NE(cmpTruncated.error.find("block opened on line 13"), std::string::npos) << cmpTruncated.error;

    DatRead html = ParseDat("<?xml version=\"1.0\"?>\n<html><body>Hello</body></html>\n");
    EXPECT_EQ(html.error, "line 2: this XML file is no DAT file: it holds <html>, not <datafile>");
    DatRead text = ParseDat("Shopping list\nmilk ( eggs )\n");
    EXPECT_NE(text.error.find("line 1: this is no DAT file"), std::string::npos) << text.error;
    EXPECT_EQ(ParseDat(" \n\t").error, "the file is empty");

    std::string badHash = xml;
    badHash.replace(badHash.find("crc=\"") + 5, 8, "XYZ12345");
    EXPECT_NE(ParseDat(badHash).error.find("line 9: the crc \"XYZ12345\" of rom \"Alpha (USA).vb\""),
              std::string::npos);

    test::TempDir dir;
    DatRead missing = ReadDatFile(dir.File("none.dat"));
    EXPECT_NE(missing.error.find(dir.File("none.dat")), std::string::npos) << missing.error;
}

TEST(ContentHash, SameAsOneShotHashesWhateverTheChunks) {
    const FileHashes crcOnly = HashesOf({1, 2, 3}, {.crc = true});
    EXPECT_TRUE(crcOnly.hasCrc);
    EXPECT_TRUE(crcOnly.sha1.empty() && crcOnly.md5.empty()) << "hashes not asked for are not taken";

    // Random bytes of awkward lengths in uneven chunks give what zlib and
    // OpenSSL's one-shot calls give for the whole.
    HashRun run;
    std::mt19937 random(5);
    for (std::size_t size : {0u, 1u, 3u, 15u, 16u, 17u, 63u, 255u, 4097u, 262147u, (1u << 20) + 5}) {
        std::vector<std::uint8_t> data(size);
        for (auto& b : data) b = static_cast<std::uint8_t>(random());
        run.Start(All());
        for (std::size_t at = 0; at < size;) {
            const std::size_t n = std::min<std::size_t>(size - at, random() % 70000 + 1);
            run.Update(data.data() + at, n);
            at += n;
        }
        const FileHashes h = run.Finish();
        EXPECT_EQ(CrcText(h.crc), test::Crc32Of(data)) << size;
        EXPECT_EQ(h.sha1, test::DigestOf("SHA1", data)) << size;
        EXPECT_EQ(h.md5, test::DigestOf("MD5", data)) << size;
    }
}

TEST(CatalogueTest, MatchesBySizeAndCrcConfirmedBySha1OrMd5) {
    auto games = SampleGames();
    const auto collided = test::DumpBytes(9);
    // Another dump with the same size and CRC32 as this one, told apart by its SHA-1.
    test::GameRom impostor{"Delta (Europe).vb", collided};
    impostor.sha1Override = std::string(40, 'a');
    games.push_back({"Delta (Europe)", {impostor}});
    const auto noHashes = test::DumpBytes(10);
    test::GameRom crcOnly{"Epsilon.vb", noHashes, false, false};
    games.push_back({"Epsilon", {crcOnly}});
    games.push_back({"Alpha (USA)", {{"again.vb", test::DumpBytes(11)}}});  // listed twice: one name
    Catalogue catalogue(*ParseDat(test::LogiqxDat("Set", games)).dat);

    EXPECT_EQ(std::vector<std::string>(catalogue.Names().begin(), catalogue.Names().end()),
              (std::vector<std::string>{"Alpha (USA)", "Beta & Gamma (Japan)", "Delta (Europe)", "Epsilon"}));
    EXPECT_EQ(catalogue.Description(), "Set (4 games)");
    EXPECT_TRUE(catalogue.Needs().crc && catalogue.Needs().sha1 && catalogue.Needs().md5);
    auto match = [&](const std::vector<std::uint8_t>& bytes) -> std::string {
        const auto game = catalogue.Match(static_cast<std::int64_t>(bytes.size()), HashesOf(bytes));
        return game ? std::string(catalogue.Names()[*game]) : "none";
    };
    EXPECT_EQ(match(games[0].roms[1].bytes), "Alpha (USA)") << "any rom of a game names it";
    EXPECT_EQ(match(games[1].roms[0].bytes), "Beta & Gamma (Japan)") << "confirmed by MD5";
    EXPECT_EQ(match(collided), "none") << "CRC and size agree, SHA-1 does not";
    EXPECT_EQ(match(noHashes), "Epsilon") << "a DAT with only a CRC is taken at its word";
    EXPECT_EQ(match(test::DumpBytes(11)), "Alpha (USA)");
    EXPECT_EQ(match(test::DumpBytes(12)), "none");
    auto longer = games[0].roms[0].bytes;
    longer.push_back(0);
    EXPECT_EQ(match(longer), "none");
    EXPECT_EQ(catalogue.MissingChecksum(2), test::Crc32Of(collided, "%08X"));

    const Catalogue builtIn;
    EXPECT_TRUE(builtIn.IsBuiltIn());
    EXPECT_EQ(builtIn.Description(), "Built-in table (38 known dumps)");
    EXPECT_FALSE(builtIn.Needs().Any()) << "the built-in table's scan pays for no hash";
    EXPECT_EQ(builtIn.MissingChecksum(3), "1088202E");
}

TEST(DatFile, MissingListsAsCsvQuoteWhatTheyMust) {
    std::vector<DatGame> games{{"Plain", "", {{"plain.vb", 1024, "0000abcd", "", std::string(40, 'f')}}},
                               {"Comma, \"Quoted\"", "", {{"q.vb", -1, "12345678", "", ""}}}};
    EXPECT_EQ(WriteMissingCsv(games),
              "name,size,crc,sha1\r\n"
              "Plain,1024,0000abcd," +
                  std::string(40, 'f') +
                  "\r\n"
                  "\"Comma, \"\"Quoted\"\"\",,12345678,\r\n");
}

// Hashes are kept as bytes: in either form a hash in capitals, or with its
// leading zeros left out, reads back as the full lower-case hex, and one that
// is too long or holds a letter past f is refused by its line.
TEST(DatFile, HashDigitsReadAsBytes) {
    // Each row: the crc and sha1 written, then the two read back or the start of the error.
    const std::string sha1 = "0123456789ABCDEF0123456789abcdef01234567";
    const std::array<std::string, 3> cases[] = {
        {"DEADBEEF", sha1, "deadbeef 0123456789abcdef0123456789abcdef01234567"},
        {"abc", "f", "00000abc 000000000000000000000000000000000000000f"},
        {"123456789", sha1, "line 3: the crc \"123456789\" of rom \"a.vb\" is not a hexadecimal hash"},
        {"1234567g", sha1, "line 3: the crc \"1234567g\" of rom \"a.vb\" is not a hexadecimal hash"},
        {"12345678", sha1 + "0", "line 3: the sha1 \"" + sha1 + "0\" of rom \"a.vb\" is not a hexadecimal hash"},
    };
    for (const auto& [crc, written, want] : cases) {
        const std::string xml =
            "<?xml version=\"1.0\"?>\n<datafile>\n<game name=\"A\"><rom name=\"a.vb\" size=\"1\" crc=\"" + crc +
            "\" sha1=\"" + written + "\"/></game>\n</datafile>\n";
        const std::string cmp = "clrmamepro ( name \"Set\" )\n\ngame ( name \"A\" rom ( name \"a.vb\" size 1 crc " +
                                crc + " sha1 " + written + " ) )\n";
        for (const std::string& text : {xml, cmp}) {
            const DatRead read = ParseDat(text);
            const std::string got =
                read ? read.dat->games[0].roms[0].crc + " " + read.dat->games[0].roms[0].sha1 : read.error;
            EXPECT_EQ(got, want) << text;
        }
    }
}

TEST(DatFile, LargeDatReadInSlicesGivesEveryGame) {
    // Over a megabyte of XML is read a slice at a time; the clrmamepro form of
    // the same games, read whole, must agree game for game.
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datafile>\n<header><name>Big</name></header>\n";
    std::string cmp = "clrmamepro ( name \"Big\" )\n";
    char hex[48];
    for (unsigned i = 0; i < 9000; ++i) {
        const std::string name = "Game " + std::to_string(i) + " (World)";
        std::snprintf(hex, sizeof hex, "%08x", i * 2654435761u);
        const std::string crc = hex;
        std::snprintf(hex, sizeof hex, "%08x%08x%08x%08x%08x", i, ~i, i * 3, i * 5, i * 7);
        const std::string tag = i % 2 == 0 ? "game" : "machine";
        xml += "<" + tag + " name=\"" + name + "\"><description>" + name + "</description><rom name=\"" + name +
               ".vb\" size=\"" + std::to_string(i) + "\" crc=\"" + crc + "\" sha1=\"" + hex + "\"/></" + tag + ">\n";
        cmp += "game ( name \"" + name + "\" description \"" + name + "\" rom ( name \"" + name + ".vb\" size " +
               std::to_string(i) + " crc " + crc + " sha1 " + hex + " ) )\n";
    }
    xml += "</datafile>\n";
    ASSERT_GT(xml.size(), 1u << 20);
    DatRead fromXml = ParseDat(xml);
    DatRead fromCmp = ParseDat(cmp);
    ASSERT_TRUE(fromXml) << fromXml.error;
    ASSERT_TRUE(fromCmp) << fromCmp.error;
    EXPECT_EQ(fromXml.dat->name, "Big");
    EXPECT_EQ(fromXml.dat->games.size(), 9000u);
    EXPECT_EQ(fromXml.dat->games, fromCmp.dat->games);
    // From disk, the slices already read are let go of as the file is read.
    test::TempDir dir;
    test::WriteText(dir.File("big.dat"), xml);
    const DatRead fromDisk = ReadDatFile(dir.File("big.dat"));
    ASSERT_TRUE(fromDisk) << fromDisk.error;
    EXPECT_EQ(fromDisk.dat->games, fromCmp.dat->games);

    // A fault far into the file is still named by its line.
    std::string bad = xml;
    bad.replace(bad.find("size=\"8500\""), 11, "size=\"85x0\"");
    test::WriteText(dir.File("bad.dat"), bad);
    const std::string error = ReadDatFile(dir.File("bad.dat")).error;
    EXPECT_NE(error.find("line 8504: the size \"85x0\""), std::string::npos) << error;
}
