// SPDX-License-Identifier: GPL-3.0-or-later
// The single-ROM commands: info, header and romaji.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "rom/RomImage.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

std::string Identification(const std::string& path) {
    auto run = RunKestro({"info", "--json", path});
    EXPECT_EQ(run.status, 0) << run.err;
    return run.Json()[0]["identification"];
}

TEST(InfoCommand, KnownKatakanaRomAsJson) {
    TempDir dir;
    const std::string path = dir.File("panic.vb");
    RomBuilder::KnownDump("Panic Bomber (J) [!]").WriteTo(path);

    auto run = RunKestro({"info", "--json", path});
    ASSERT_EQ(run.status, 0) << run.err;
    auto expected = nlohmann::json::parse(R"json({"accepted": true, "size": 524288,
        "size_text": "524288 Bytes  (4 MBit)",
        "title": "\uFF84\uFF8B\uFF9E\uFF80\uFF9E\uFF7E!\uFF8A\uFF9F\uFF86\uFF8E\uFF9E\uFF9D",
        "title_hex": "C4CBDEC0DEBE21CADFC6CEDEDD", "reading": "Tobidase!panibon", "maker_code": "18",
        "maker_name": "Hudson Soft", "game_code": "VH2J", "version": 0, "version_text": "1.0",
        "checksum_a": "037A6627", "checksum_b": "037A726C", "identification": "Panic Bomber (J) [!]",
        "revert_available": true})json");
    expected["path"] = path;
    EXPECT_EQ(run.Json(), nlohmann::json::array({expected}));
}

TEST(InfoCommand, RefusedFilesGetTheirMessageAndStatusOne) {
    TempDir dir;
    const std::string small = dir.File("small.vb");
    const std::string unknown = dir.File("unknown.vb");
    RomBuilder().Size(544).WriteTo(small);
    RomBuilder::Unknown().Maker("ZZ").Title("V\xA5TEST  ").Version(7).WriteTo(unknown);

    // No Virtual Boy ROM is larger than 16 MiB: a larger file is refused unread.
    const std::string largest = dir.File("largest.vb"), huge = dir.File("huge.vb");
    for (const auto& [path, size] : {std::pair{largest, 16u << 20}, std::pair{huge, (1u << 30) + 1}}) {
        test::WriteBytes(path, {});
        std::filesystem::resize_file(path, size);
    }
    auto run = RunKestro({"info", "--json", small, dir.File("missing.vb"), unknown, largest, huge});
    EXPECT_EQ(run.status, 1);
    auto json = run.Json();
    ASSERT_EQ(json.size(), 5u);
    EXPECT_EQ(json[3]["accepted"], true);
    EXPECT_EQ(json[4]["message"]["text"],
              "File too large to be a VB ROM image.\rThe file is 1073741825 bytes long; "
              "a Virtual Boy ROM is at most 16 MiB (16777216 bytes).");
    json[0].erase("path");
    EXPECT_EQ(json[0], nlohmann::json::parse(R"({"accepted": false, "message": {"title": "Invalid VB ROM",
        "text": "File too small to be a VB ROM image."}})"));
    EXPECT_EQ(json[1]["message"], nlohmann::json::parse(R"({"title": "Invalid filename",
        "text": "File does not exist."})"));

    // The fields that show this unknown ROM's odd title byte, unlisted maker and version.
    auto rom = json[2];
    for (const char* other : {"path", "size", "size_text", "maker_code", "game_code", "version", "checksum_a"})
        rom.erase(other);
    rom.erase("checksum_b");
    EXPECT_EQ(rom, nlohmann::json::parse(R"({"accepted": true, "title": "V\uFF65TEST", "title_hex": "56A554455354",
        "reading": "V\u00B7TEST", "maker_name": null, "version_text": "1.7",
        "identification": "[UNKNOWN VB ROM]  -  Please send me a copy.", "revert_available": false})"));
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
    EXPECT_NE(run.out.find("  ROM Title:        GOLF[2J\n"), std::string::npos) << "left out, as captions leave it";
    EXPECT_NE(run.out.find("  Refused:          Invalid filename: File does not exist.\n"), std::string::npos);
}

TEST(HeaderCommand, EditAndRevertAKnownDump) {
    TempDir dir;
    const std::string path = dir.File("mario.vb");
    const auto original = RomBuilder::KnownDump("Mario Clash (JU) [!]").WriteTo(path);
    EXPECT_EQ(Identification(path), "Mario Clash (JU) [!]");

    auto edit = RunKestro({"header", path, "--game-code", "vmce"});
    ASSERT_EQ(edit.status, 0) << edit.err;
    EXPECT_NE(edit.out.find("Mario Clash (JU) [h]"), std::string::npos);
    EXPECT_EQ(Identification(path), "Mario Clash (JU) [h]");
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(path)).gameCode, "VMCE");

    auto revert = RunKestro({"header", path, "--revert"});
    ASSERT_EQ(revert.status, 0) << revert.err;
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(Identification(path), "Mario Clash (JU) [!]");
}

TEST(HeaderCommand, AppliesEveryFieldAsSaveRomDoes) {
    TempDir dir;
    const std::string path = dir.File("rom.vb");
    auto before = RomBuilder::Unknown().WriteTo(path);

    auto run = RunKestro(
        {"header", path, "--title", "\uFF8A\uFF9F\uFF86\uFF6F\uFF78 ABC", "--maker", "e4", "--version", "1.10"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto after = ReadBytes(path);
    EXPECT_EQ(rom::DecodeHeader(after), (rom::RomHeader{"\xCA\xDF\xC6\xAF\xB8 ABC", "E4", "VTSE", 10}));
    EXPECT_EQ(rom::HeaderBytes(after).substr(0, 20), "\xCA\xDF\xC6\xAF\xB8 ABC           ");
    EXPECT_EQ(after.size(), before.size());

    ASSERT_EQ(RunKestro({"header", path, "--title-hex", "4D4152494F", "--version", "255"}).status, 0);
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(path)).title, "MARIO");
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(path)).version, 255);
}

TEST(HeaderCommand, RefusalsLeaveTheFileUntouched) {
    TempDir dir;
    const std::string invalid = dir.File("invalid.vb");
    const std::string unknown = dir.File("unknown.vb");
    auto invalidBytes = RomBuilder().Reserved(0, 1).WriteTo(invalid);
    auto unknownBytes = RomBuilder::Unknown().WriteTo(unknown);

    auto refused = RunKestro({"header", invalid, "--title", "X"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Invalid VB ROM: Invalid VB ROM image."), std::string::npos) << refused.err;
    EXPECT_EQ(ReadBytes(invalid), invalidBytes);

    auto notKnown = RunKestro({"header", unknown, "--revert", "--title", "X"});
    EXPECT_EQ(notKnown.status, 1);
    EXPECT_NE(notKnown.err.find("[UNKNOWN VB ROM]"), std::string::npos) << notKnown.err;
    EXPECT_EQ(ReadBytes(unknown), unknownBytes);

    for (auto args : std::vector<std::vector<std::string>>{
             {"header", unknown},
             {"header", unknown, "--title", "TWENTY-ONE CHARACTERS"},
             {"header", unknown, "--title", "\u30C8"},  // full-width katakana has no title byte
             {"header", unknown, "--maker", "ABC"},
             {"header", unknown, "--version", "256"},
         }) {
        auto run = RunKestro(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(ReadBytes(unknown), unknownBytes);

    // The refusals say, in one line, which character or number is wrong.
    EXPECT_EQ(RunKestro({"header", unknown, "--title", "AB\u30C8C"}).err,
              "kestro header: --title: \"\u30C8\" (U+30C8) has no title byte; a title takes ASCII and half-width "
              "katakana.\n");
    EXPECT_EQ(RunKestro({"header", unknown, "--title", "A\x80"}).err,
              "kestro header: --title: a byte that is not UTF-8 has no title byte; a title takes ASCII and half-width "
              "katakana.\n");
    EXPECT_EQ(RunKestro({"header", unknown, "--version", "-1"}).err,
              "kestro header: --version takes a number from 0 to 255 (or 1.0 to 1.255).\n");
    ASSERT_EQ(RunKestro({"header", unknown, "--version", "0x0A"}).status, 0);
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(unknown)).version, 10);
}

TEST(RomajiCommand, ReadsTextOrHexBytes) {
    auto hex = RunKestro({"romaji", "--hex", "C4CBDEC0DEBE21CADFC6CEDEDD"});
    EXPECT_EQ(hex.status, 0);
    EXPECT_EQ(hex.out, "Tobidase!panibon\n");
    EXPECT_EQ(RunKestro({"romaji", "\uFF8B\uFF9E\uFF6D\uFF70"}).out, "Byu-\n");
    EXPECT_EQ(RunKestro({"romaji", "--hex", "C4C"}).status, 2);
    EXPECT_EQ(RunKestro({"romaji", "\u6F22"}).status, 2);  // no title byte for a kanji
}

}  // namespace
}  // namespace kestro::test
