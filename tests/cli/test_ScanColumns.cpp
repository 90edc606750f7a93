// SPDX-License-Identifier: GPL-3.0-or-later
// Double-width names line up with the others in `kestro scan`'s text and the saved lists.
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro;

TEST(ScanColumns, WideCharactersTakeTwoColumnsInTheListingAndTheSavedLists) {
    test::TempDir dir;
    const std::string kana =
        "\xE3\x83\x96\xE3\x83\xAD\xE3\x83\x83\xE3\x82\xAF\xE3\x82\xB9.vb";  // ブロックス.vb, 13 columns
    test::WriteKnown(dir.Path(), kana, "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "\xEF\xBD\xB1.vb", "Red Alarm (U) [!]");  // half-width katakana: one column
    auto run = test::RunKestro({"scan", "--detailed", "--save", dir.Path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const std::string& line :
         std::vector<std::string>{"golf.vb       - Golf (U) [!]\n", kana + " - Golf (U) [!]\n",
                                  "\xEF\xBD\xB1.vb          - Red Alarm (U) [!]\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    }
    const std::string dupes = test::FileText(dir.File("VBoyDupes.txt"));
    const std::string have = test::FileText(dir.File("VBoyHave.txt"));
    EXPECT_NE((have + dupes).find("\"golf.vb\"       "), std::string::npos) << have << dupes;
    EXPECT_NE((have + dupes).find("\"" + kana + "\" "), std::string::npos);
    EXPECT_EQ((have + dupes).find("\"" + kana + "\"  "), std::string::npos);
}
