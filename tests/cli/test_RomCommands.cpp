// SPDX-License-Identifier: GPL-3.0-or-later
// The single-ROM commands: info and header.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "rom/RomImage.h"
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
    RomBuilder::Unknown().Maker("ZZ").WriteTo(unknown);

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
    EXPECT_EQ(json[2]["maker_name"], nullptr) << "an unlisted maker";
}

TEST(InfoCommand, ReadableBlockPerFile) {
    TempDir dir;
    const std::string path = dir.File("golf.vb");
    RomBuilder::KnownDump("Golf (U) [!]").Title("GOLF\x1B[2J").WriteTo(path);

    auto run = RunKestro({"info", path, dir.File("gone.vb")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("  Manufacturer ID:  01 (Nintendo)\n"), std::string::npos) << run.out;
    // An escape byte in a title never reaches the terminal: left out, as captions leave it.
    EXPECT_NE(run.out.find("  ROM Title:        GOLF[2J\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Refused:          Invalid filename: File does not exist.\n"), std::string::npos);
}

TEST(HeaderCommand, EditsEveryFieldAndRevertsAKnownDump) {
    TempDir dir;
    const std::string path = dir.File("mario.vb");
    const auto original = RomBuilder::KnownDump("Mario Clash (JU) [!]").WriteTo(path);

    auto edit = RunKestro({"header", path, "--game-code", "vmce"});
    ASSERT_EQ(edit.status, 0) << edit.err;
    EXPECT_NE(edit.out.find("Mario Clash (JU) [h]"), std::string::npos) << edit.out;
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(path)).gameCode, "VMCE");
    auto revert = RunKestro({"header", path, "--revert"});
    ASSERT_EQ(revert.status, 0) << revert.err;
    EXPECT_EQ(ReadBytes(path), original);

    auto run = RunKestro(
        {"header", path, "--title", "\uFF8A\uFF9F\uFF86\uFF6F\uFF78 ABC", "--maker", "e4", "--version", "1.10"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string gameCode = rom::DecodeHeader(original).gameCode;
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(path)), (rom::RomHeader{"\xCA\xDF\xC6\xAF\xB8 ABC", "E4", gameCode, 10}));
    ASSERT_EQ(RunKestro({"header", path, "--title-hex", "4D4152494F", "--version", "0x0A"}).status, 0);
    EXPECT_EQ(rom::DecodeHeader(ReadBytes(path)), (rom::RomHeader{"MARIO", "E4", gameCode, 10}));
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

    // Wrong arguments, and the one line that says which character or number is wrong.
    const std::string takes = " has no title byte; a title takes ASCII and half-width katakana.\n";
    const std::pair<std::vector<std::string>, std::string> usage[] = {
        {{"--title", "TWENTY-ONE CHARACTERS"}, ""},
        {{"--version", "256"}, ""},
        {{"--title", "AB\u30C8C"}, "kestro header: --title: \"\u30C8\" (U+30C8)" + takes},
        {{"--title", "A\x80"}, "kestro header: --title: a byte that is not UTF-8" + takes},
        {{"--version", "-1"}, "kestro header: --version takes a number from 0 to 255 (or 1.0 to 1.255).\n"},
    };
    for (const auto& [args, says] : usage) {
        std::vector<std::string> all{"header", unknown};
        all.insert(all.end(), args.begin(), args.end());
        auto run = RunKestro(all);
        EXPECT_EQ(run.status, 2) << all.back();
        EXPECT_FALSE(run.err.empty());
        if (!says.empty()) { EXPECT_EQ(run.err, says); }
    }
    EXPECT_EQ(ReadBytes(unknown), unknownBytes);
}

}  // namespace
}  // namespace kestro::test
