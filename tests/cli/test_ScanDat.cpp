// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "romdb/DatFile.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

using namespace kestro;
using test::RunKestro;

// The DAT's forms are the catalogue's test; here the whole run against one.
TEST(ScanDat, ReportsTheCatalogueAndWritesWhatIsMissing) {
    test::TempDir dir;
    const std::filesystem::path collection = dir.Path() / "roms";
    std::filesystem::create_directory(collection);
    test::WriteDatCollection(collection);
    test::WriteText(dir.File("vb.dat"), test::LogiqxDat("Virtual Boy", test::CollectionGames()));
    auto result = RunKestro({"scan", "--dat", dir.File("vb.dat"), "--json", "--fixdat", dir.File("fix.dat"),
                             "--missing-csv", dir.File("missing.csv"), collection.string()});
    // The broken archive is a file that could not be read: the run reports a failure.
    EXPECT_EQ(result.status, 1) << result.err;
    const auto json = result.Json();
    EXPECT_EQ(json["catalogue"]["games"], 9);
    // Against a DAT too, "checksum" is the whole file's, as info gives it.
    int compared = 0;
    for (const auto& file : json["files"]) {
        if (file["name"] == "alarm.zip \xE2\x86\x92 x.vb") {
            EXPECT_EQ(file["archive"], "alarm.zip");
            EXPECT_EQ(file["entry"], "x.vb");
            EXPECT_EQ(file["sha1"], test::DigestOf("SHA1", test::CollectionGames()[4].roms[0].bytes));
        }
        if (!file["archive"].is_null() || file["checksum"] == "") continue;
        const auto info = RunKestro({"info", "--json", (collection / file["name"].get<std::string>()).string()});
        EXPECT_EQ(file["checksum"], info.Json()[0]["checksum_b"]) << file["name"];
        ++compared;
    }
    EXPECT_GT(compared, 0);

    // What the fixdat and the CSV list is the collection's test; here that both are written.
    romdb::DatRead fix = romdb::ReadDatFile(dir.File("fix.dat"));
    ASSERT_TRUE(fix) << fix.error;
    EXPECT_EQ(fix.dat->games.size(), 3u);
    const std::string csv = test::FileText(dir.File("missing.csv"));
    EXPECT_NE(csv.find("\r\nPanic Bomber (USA),65536,"), std::string::npos) << csv;
    EXPECT_EQ(json["messages"].back()["title"], "Missing games saved") << json["messages"];
}

TEST(ScanDat, BadDatsAndMisusedOptionsAreRefusedAndInfoNamesByContent) {
    test::TempDir dir;
    const auto games = test::CollectionGames();
    test::WriteBytes(dir.File("some name.vb"), games[2].roms[0].bytes);
    std::string xml = test::LogiqxDat("Virtual Boy", games);
    test::WriteText(dir.File("vb.dat"), xml);
    test::WriteText(dir.File("cut.dat"), xml.substr(0, xml.size() / 2));

    auto cut = RunKestro({"scan", "--dat", dir.File("cut.dat"), dir.Path().string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("kestro scan: The DAT file " + dir.File("cut.dat") + " cannot be used: line "),
              std::string::npos)
        << cut.err;
    EXPECT_EQ(cut.out, "") << "nothing is scanned against a DAT that could not be read";
    EXPECT_EQ(RunKestro({"scan", "--fixdat", dir.File("f.dat"), dir.Path().string()}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("f.dat")));

    auto info = RunKestro({"info", "--json", "--dat", dir.File("vb.dat"), dir.File("some name.vb")});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.Json()[0]["dat"]["identification"], "Mario Clash (Japan, USA)");
    EXPECT_EQ(info.Json()[0]["identification"], "[UNKNOWN VB ROM]  -  Please send me a copy.")
        << "the built-in table's answer stays beside it";
    auto text = RunKestro({"info", "--dat", dir.File("vb.dat"), dir.File("some name.vb")});
    EXPECT_NE(text.out.find("  DAT:              Mario Clash (Japan, USA)\n"), std::string::npos) << text.out;
}
