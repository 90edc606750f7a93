#include <gtest/gtest.h>

#include "CliRun.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

TEST(InfoCommand, KnownKatakanaRomAsJson) {
    TempDir dir;
    const std::string path = dir.File("panic.vb");
    RomBuilder::KnownDump("Panic Bomber (J) [!]").WriteTo(path);

    auto run = RunKestro({"info", "--json", path});
    ASSERT_EQ(run.status, 0) << run.err;
    auto json = run.Json();
    ASSERT_TRUE(json.is_array());
    ASSERT_EQ(json.size(), 1u);
    const auto& rom = json[0];
    EXPECT_EQ(rom["path"], path);
    EXPECT_EQ(rom["accepted"], true);
    EXPECT_EQ(rom["size"], 524288);
    EXPECT_EQ(rom["size_text"], "524288 Bytes  (4 MBit)");
    EXPECT_EQ(rom["title"], "\uFF84\uFF8B\uFF9E\uFF80\uFF9E\uFF7E!\uFF8A\uFF9F\uFF86\uFF8E\uFF9E\uFF9D");
    EXPECT_EQ(rom["title_hex"], "C4CBDEC0DEBE21CADFC6CEDEDD");
    EXPECT_EQ(rom["reading"], "Tobidase!panibon");
    EXPECT_EQ(rom["maker_code"], "18");
    EXPECT_EQ(rom["maker_name"], "Hudson Soft");
    EXPECT_EQ(rom["game_code"], "VH2J");
    EXPECT_EQ(rom["version"], 0);
    EXPECT_EQ(rom["version_text"], "1.0");
    EXPECT_EQ(rom["checksum_a"], "037A6627");
    EXPECT_EQ(rom["checksum_b"], "037A726C");
    EXPECT_EQ(rom["identification"], "Panic Bomber (J) [!]");
    EXPECT_EQ(rom["revert_available"], true);
    EXPECT_FALSE(rom.contains("message"));
}

TEST(InfoCommand, RefusedFilesGetTheirMessageAndStatusOne) {
    TempDir dir;
    const std::string small = dir.File("small.vb");
    const std::string unknown = dir.File("unknown.vb");
    RomBuilder().Size(544).WriteTo(small);
    RomBuilder::Unknown().Maker("ZZ").Title("V\xA5TEST  ").Version(7).WriteTo(unknown);

    auto run = RunKestro({"info", "--json", small, dir.File("missing.vb"), unknown});
    EXPECT_EQ(run.status, 1);
    auto json = run.Json();
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(json[0]["accepted"], false);
    EXPECT_EQ(json[0]["message"],
              (nlohmann::json{{"title", "Invalid VB ROM"}, {"text", "File too small to be a VB ROM image."}}));
    EXPECT_FALSE(json[0].contains("identification"));
    EXPECT_EQ(json[1]["message"]["title"], "Invalid filename");
    EXPECT_EQ(json[1]["message"]["text"], "File does not exist.");

    const auto& rom = json[2];
    EXPECT_EQ(rom["accepted"], true);
    EXPECT_EQ(rom["title"], "V\uFF65TEST");
    EXPECT_EQ(rom["title_hex"], "56A554455354");
    EXPECT_EQ(rom["reading"], "V\u00B7TEST");
    EXPECT_TRUE(rom["maker_name"].is_null());
    EXPECT_EQ(rom["version_text"], "1.7");
    EXPECT_EQ(rom["identification"], "[UNKNOWN VB ROM]  -  Please send me a copy.");
    EXPECT_EQ(rom["revert_available"], false);
}

TEST(InfoCommand, ReadableBlockPerFile) {
    TempDir dir;
    const std::string path = dir.File("golf.vb");
    RomBuilder::KnownDump("Golf (U) [!]").Title("GOLF\x1B[2J").WriteTo(path);

    auto run = RunKestro({"info", path, dir.File("gone.vb")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(path + "\n"), std::string::npos);
    EXPECT_NE(run.out.find("  Manufacturer ID:  01 (Nintendo)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  ROM ID:           VVGE\n"), std::string::npos);
    EXPECT_NE(run.out.find("  Identify ROM:     Golf (U) [h]\n"), std::string::npos);
    EXPECT_NE(run.out.find("  ROM Size:         2097152 Bytes  (16 MBit)\n"), std::string::npos);
    // An escape byte in a title never reaches the terminal.
    EXPECT_EQ(run.out.find('\x1B'), std::string::npos);
    EXPECT_NE(run.out.find("  Refused:          Invalid filename: File does not exist.\n"), std::string::npos);
}

TEST(InfoCommand, UsageErrorsAndHelp) {
    auto none = RunKestro({"info"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("FILE is required"), std::string::npos);
    EXPECT_EQ(RunKestro({"info", "--colour", "x.vb"}).status, 2);
    auto help = RunKestro({"info", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--json"), std::string::npos);
    EXPECT_NE(RunKestro({"--help"}).out.find("romaji"), std::string::npos);
    EXPECT_EQ(RunKestro({"frobnicate"}).status, 2);
}

}  // namespace
}  // namespace kestro::test
