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
             {"header", unknown, "--title", "A", "--title-hex", "41"},
             {"header", unknown, "--maker", "ABC"},
             {"header", unknown, "--game-code", "VMCJX"},
             {"header", unknown, "--version", "256"},
             {"header", unknown, "--version", "2.0"},
         }) {
        auto run = RunKestro(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(ReadBytes(unknown), unknownBytes);
    EXPECT_EQ(RunKestro({"header", "--help"}).status, 0);
}

TEST(RomajiCommand, ReadsTextOrHexBytes) {
    auto hex = RunKestro({"romaji", "--hex", "C4CBDEC0DEBE21CADFC6CEDEDD"});
    EXPECT_EQ(hex.status, 0);
    EXPECT_EQ(hex.out, "Tobidase!panibon\n");
    EXPECT_EQ(RunKestro({"romaji", "\uFF8B\uFF9E\uFF6D\uFF70"}).out, "Byu-\n");
    EXPECT_EQ(RunKestro({"romaji", "mario"}).out, "Mario\n");
    EXPECT_EQ(RunKestro({"romaji", "--hex", "56A5"}).out, "V\u00B7\n");
    EXPECT_EQ(RunKestro({"romaji", "--hex", "C4C"}).status, 2);
    EXPECT_EQ(RunKestro({"romaji", "\u6F22"}).status, 2);
    EXPECT_EQ(RunKestro({"romaji"}).status, 2);
    EXPECT_EQ(RunKestro({"romaji", "--help"}).status, 0);
}

}  // namespace
}  // namespace kestro::test
