// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

using namespace kestro;
using test::RunKestro;

namespace {

// A report or summary is checked by its opening lines.
bool StartsWith(const nlohmann::json& text, const std::string& part) {
    return text.get<std::string>().starts_with(part);
}

}  // namespace

TEST(ScanCommand, JsonGivesStatusesReportsSummariesAndMessages) {
    test::TempDir dir;
    test::WriteMixedCollection(dir.Path());
    auto result = RunKestro({"scan", "--json", dir.Path().string() + "/"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto json = result.Json();

    EXPECT_EQ(json["directory"], dir.Path().string());
    std::map<std::string, std::string> statuses;
    for (const auto& file : json["files"]) statuses[file["name"]] = file["status"];
    EXPECT_EQ(statuses, test::MixedStatuses());
    EXPECT_EQ(json["files"][0]["checksum"], "035C3DBF");  // a_good.vb
    EXPECT_EQ(json["files"][0]["size"], test::ReadBytes(dir.File("a_good.vb")).size());
    EXPECT_TRUE(json["files"][11]["size"].is_null());  // i_empty.vb
    EXPECT_EQ(json["files"][6]["checksum"], "");       // g_unknown.vb

    // The texts themselves are the report tests'; here that each reaches the JSON.
    EXPECT_PRED2(StartsWith, json["reports"]["dupes"], "Good ROMs:\r\n  Golf (U) [!] [2 copies]\r\n");
    EXPECT_PRED2(StartsWith, json["summaries"]["have"], " You have 05 out of 38 known Nintendo Virtual Boy ROMs\r");
    EXPECT_EQ(json["reports"]["log"], "File change log:\r\n  No changes\r\n");
    EXPECT_EQ(json["completion"], "ROM identification complete.");
    EXPECT_TRUE(json["messages"].empty()) << "the question the flags answer is not listed";
}

TEST(ScanCommand, RenameMoveKeepsEveryRomOnceUnderItsCatalogueName) {
    test::TempDir dir;
    test::WriteMixedCollection(dir.Path());
    const auto before = test::FilesUnder(dir.Path());
    auto result = RunKestro({"scan", "--rename", "--move", "--log", "--save", "--json", dir.Path().string()});
    ASSERT_EQ(result.status, 0) << result.out;
    auto json = result.Json();
    const std::string renamed = dir.Path().string() + "/VBoyRen";
    EXPECT_EQ(json["directory"], renamed);
    EXPECT_EQ(json["completion"], "ROM identification & rename complete.\n\nFiles moved to:\n" + renamed + "/");

    // Every ROM's bytes are present exactly once: known dumps under their
    // catalogue names in VBoyRen, every other file untouched where it was.
    auto after = test::FilesUnder(dir.Path());
    for (const auto& [name, status] : test::MixedStatuses())
        if (status[0] == '[') { EXPECT_EQ(after.at(name), before.at(name)) << name; }
    EXPECT_EQ(after.at("readme.txt"), before.at("readme.txt"));
    for (const char* name : {"Golf (U) [!].vb", "Copy of Golf (U) [!].vb", "Copy (2) of Golf (U) [!].vb",
                             "Red Alarm (U) [!].vb", "Mario Clash (JU) [h].vb", "Waterworld (U) [b1] [h].vb"}) {
        EXPECT_EQ(after.count(std::string("VBoyRen/") + name), 1u) << name;
    }
    EXPECT_EQ(after.at("VBoyRen/Teleroboxer (JU) [T-German0.40b_QM404T].vb"), before.at("c_trans.vb"));
    std::erase_if(after, [](const auto& file) { return file.first.starts_with("VBoyRen/VBoy"); });  // the list files
    EXPECT_EQ(test::Contents(after), test::Contents(before));

    // The list files are saved where the ROMs went; what they say is the collection's test.
    EXPECT_EQ(test::FileText(renamed + "/VBoyLog.txt") + "\n", json["reports"]["log"]);
    EXPECT_EQ(json["messages"].back()["title"], "Files saved");
}

TEST(ScanCommand, ReadableOutputAndRefusals) {
    test::TempDir dir;
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]");
    test::WriteBytes(dir.File("a.vb"), {});
    auto result = RunKestro({"scan", dir.Path().string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\na.vb    - [INVALID VB ROM IMAGE]\ngolf.vb - Golf (U) [!]\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(" You have 01 out of 38 known Nintendo Virtual Boy ROMs\n\nOut of 02 files:\n"),
              std::string::npos)
        << result.out;
    EXPECT_TRUE(result.err.empty());  // no progress bar when standard error is not a terminal

    test::TempDir empty;
    result = RunKestro({"scan", "--json", empty.Path().string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.Json()["completion"].is_null());
    EXPECT_EQ(result.Json()["messages"].size(), 1u) << "said once, not again by the run";
    EXPECT_EQ(result.Json()["messages"][0]["title"], "No ROMs found");

    EXPECT_EQ(RunKestro({"scan", dir.File("nowhere")}).status, 2);
}

TEST(ScanCommand, NamesPrintAsTheFileSystemGivesThemWithStrayBytesEscaped) {
    test::TempDir root;
    const std::filesystem::path dir = root.Path() / "\xE3\x83\xAD\xE3\x83\xA0";  // ロム
    std::filesystem::create_directory(dir);
    const std::string golf = "\xE3\x82\xB4\xE3\x83\xAB\xE3\x83\x95.vb";  // ゴルフ.vb, 9 columns
    test::WriteKnown(dir, golf, "Golf (U) [!]");
    test::RomBuilder::Unknown().WriteTo((dir / "bad\xFF.vb").string());  // not UTF-8 at all
    test::RomBuilder::Unknown().WriteTo((dir / "\xEF\xBD\xB1.vb").string());  // half-width katakana: one column
    auto result = RunKestro({"scan", dir.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\n" + golf + " - Golf (U) [!]\n\xEF\xBD\xB1.vb      - [UNKNOWN VB ROM]\n" +
                              "bad\\xFF.vb   - [UNKNOWN VB ROM]\n"),
              std::string::npos)
        << result.out;
}
