// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "rom/KnownRomTable.h"
#include "romdb/Reports.h"
#include "romdb/RomDbFixtures.h"

using namespace kestro;
using namespace kestro::romdb;

namespace {

const auto Lines = test::ReportLines;

// A report none of whose groups holds a ROM.
const std::string kAllNone =
    Lines({"Good ROMs:", "  None", "", "Bad ROMs:", "  None", "", "PD/Translated ROMs:", "  None"});

std::string Cr(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r") + line;
    return text;
}

// The mixed collection, identified plainly or in detail.
class MixedReports : public test::CollectionTest {
protected:
    void Run(bool detailed) {
        test::WriteMixedCollection(dir.Path());
        CollectionTest::Run({.detailed = detailed});
    }
};

}  // namespace

TEST_F(MixedReports, PlainReportsCountersAndSummaries) {
    Run(false);
    const Reports& r = collection.reports();
    EXPECT_EQ(r.have(), Lines({"Good ROMs:", "  Golf (U) [!]", "  Red Alarm (U) [!]", "", "Bad ROMs:",
                               "  Mario Clash (JU) [b1]", "", "PD/Translated ROMs:", "  Reality Boy Demo 1 (PD)",
                               "  Teleroboxer (JU) [T-German0.40b_QM404T]", "", "Hacked ROMs:", "  Mario Clash (JU) [h]",
                               "  Waterworld (U) [b1] [h]", "", "Unknown ROMs:",
                               "  UNKNOWN ROM: Please send me a copy so I can include it.", "", "Invalid ROMs:",
                               "  INVALID ROM: Possibly not a VB ROM image.",
                               "  INVALID ROM: Possibly not a VB ROM image.",
                               "  INVALID ROM: Possibly not a VB ROM image."}));
    EXPECT_EQ(r.dupes(), Lines({"Good ROMs:", "  Golf (U) [!] [2 copies]", "", "Bad ROMs:", "  None", "",
                                "PD/Translated ROMs:", "  None", "", "Hacked ROMs:", "  None"}));
    // A ROM present only in its hacked form is still missing.
    EXPECT_NE(r.miss().find("\r\n  Mario Clash (JU) [!]\r\n"), std::string::npos);
    EXPECT_EQ(r.miss().find("Golf (U) [!]"), std::string::npos);
    EXPECT_EQ(r.miss().find("Hacked"), std::string::npos);

    // The summaries show every counter.
    const ReportCounters& c = r.counters();
    EXPECT_EQ(HaveSummary(c).text,
              Cr({" You have 05 out of 38 known Nintendo Virtual Boy ROMs", "", "Out of 13 files:",
                  "   02 are Good \"[!]\" ROMs", "   01 are Bad \"[b]\" ROMs",
                  "   02 are Public Domain \"(PD)\" or Translated \"[T]\" ROMs",
                  "   02 are Hacked (incorrect ROM header) \"[h]\" ROMs", "   01 are Unidentified Virtual Boy ROMs",
                  "   02 are duplicate (more than one copy of) ROMs", "   03 are Invalid Virtual Boy ROMs", "",
                  "Do you wish to view additional details?"}));
    EXPECT_EQ(MissSummary(c).text,
              Cr({" You are missing 33 out of 38 known Nintendo Virtual Boy ROMs", "", "Out of these files:",
                  "   21 are Good \"[!]\" ROMs", "   08 are Bad \"[b]\" ROMs",
                  "   04 are Public Domain \"(PD)\" or Translated \"[T]\" ROMs", "",
                  "Do you wish to view additional details?"}));
    const base::Message dupes = DupesSummary(c);
    EXPECT_EQ(dupes.title, "Duplicate VB ROM details");
    EXPECT_EQ(dupes.text, Cr({" You have 02 duplicate Nintendo Virtual Boy ROMs", "", "Out of these files:",
                              "   02 are Good \"[!]\" ROMs", "", "Do you wish to view additional details?"}));
    EXPECT_EQ(dupes.defaultButton, base::MessageResult::No);
}

TEST_F(MixedReports, DetailedReportsListEveryFileWithItsChecksum) {
    Run(true);
    const Reports& r = collection.reports();
    // Names are padded to the longest listed name, "j_reserved.vb" (13).
    EXPECT_EQ(r.have(), Lines({"Good ROMs: 02", "\"golf1.vb\"      1088202E Golf (U) [!]",
                               "\"golf2.vb\"      1088202E Golf (U) [!]", "\"golf3.vb\"      1088202E Golf (U) [!]",
                               "\"a_good.vb\"     035C3DBF Red Alarm (U) [!]", "", "Bad ROMs: 01",
                               "\"b_bad.vb\"      0681DE13 Mario Clash (JU) [b1]", "", "PD/Translated ROMs: 02",
                               "\"d_pd.VB\"       0786C053 Reality Boy Demo 1 (PD)",
                               "\"c_trans.vb\"    05BF2C75 Teleroboxer (JU) [T-German0.40b_QM404T]", "",
                               "Hacked ROMs: 02",
                               "\"e_hack.vb\"     " + Row("e_hack.vb").checksum + " Mario Clash (JU) [h]",
                               "\"f_hackb.vb\"    " + Row("f_hackb.vb").checksum + " Waterworld (U) [b1] [h]", "",
                               "Unknown ROMs: 01",
                               "\"g_unknown.vb\"   UNKNOWN ROM: Please send me a copy so I can include it.", "",
                               "Invalid ROMs: 03", "\"h_small.vb\"     INVALID ROM: Possibly not a VB ROM image.",
                               "\"i_empty.vb\"     INVALID ROM: Possibly not a VB ROM image.",
                               "\"j_reserved.vb\"  INVALID ROM: Possibly not a VB ROM image."}));
    EXPECT_EQ(r.dupes(), Lines({"Good ROMs: 02", "\"golf2.vb\"      1088202E Golf (U) [!]",
                                "\"golf3.vb\"      1088202E Golf (U) [!]", "", "Bad ROMs: 00", "  None", "",
                                "PD/Translated ROMs: 00", "  None", "", "Hacked ROMs: 00", "  None"}));
    const std::string missStart =
        "Good ROMs: 21\r\n05F1A395 3D Tetris (U) [!]\r\n059595C7 Galactic Pinball (JU) [!]\r\n";
    EXPECT_EQ(r.miss().substr(0, missStart.size()), missStart);
    EXPECT_NE(r.miss().find("\r\n\r\nBad ROMs: 08\r\n036C0809 Mario's Tennis (JU) [b1]\r\n"), std::string::npos);
    // The detailed builders keep the plain builders' counters.
    EXPECT_EQ(r.counters().extraCopies, 2);
    EXPECT_EQ(r.counters().filesMatched, 13);
}

// Before any run every report is reset and all are missing; one good dump
// leaves out every count of nothing; a whole collection is congratulated.
TEST(ReportsTest, ResetTextsOneGoodDumpAndAWholeCollection) {
    Reports r;
    EXPECT_EQ(r.have(), kAllNone);
    EXPECT_EQ(r.dupes(), kAllNone);
    EXPECT_EQ(r.log(), Lines({"File change log:", "  No changes"}));
    EXPECT_EQ(r.miss().substr(0, 33), "Good ROMs:\r\n  3D Tetris (U) [!]\r\n");
    auto build = [&r](const std::vector<ReportFile>& files) {
        r.BuildHaveList(files);
        r.BuildMissList(files);
        r.BuildDupesList(files);
    };

    build({{"golf.vb", "Golf (U) [!]", "1088202E"}});
    EXPECT_EQ(r.have(),
              Lines({"Good ROMs:", "  Golf (U) [!]", "", "Bad ROMs:", "  None", "", "PD/Translated ROMs:", "  None"}));
    EXPECT_EQ(r.dupes(), kAllNone);
    EXPECT_EQ(HaveSummary(r.counters()).text,
              Cr({" You have 01 out of 38 known Nintendo Virtual Boy ROMs", "", "Out of 01 files:",
                  "   01 are Good \"[!]\" ROMs", "", "Do you wish to view additional details?"}));
    EXPECT_EQ(DupesSummary(r.counters()).text,
              Cr({" You have 00 duplicate Nintendo Virtual Boy ROMs", "", "Do you wish to view additional details?"}));

    std::vector<ReportFile> files;
    for (const rom::KnownRom& row : rom::kKnownRomTable) files.push_back({"x.vb", std::string(row.name), ""});
    for (int i = 0; i < 4; ++i) files.push_back({"y.vb", "Golf (U) [!]", ""});
    files.push_back({"z.vb", "Waterworld (U) [b1]", ""});
    build(files);
    EXPECT_NE(r.dupes().find("  Golf (U) [!] [4 copies]\r\n"), std::string::npos);
    EXPECT_NE(r.dupes().find("  Waterworld (U) [b1] [1 copy]\r\n"), std::string::npos);
    EXPECT_EQ(r.counters().filesMatched, 43);
    EXPECT_EQ(r.miss(), kAllNone);
    EXPECT_EQ(HaveSummary(r.counters()).text.substr(0, 74),
              " You have 38 out of 38 known Nintendo Virtual Boy ROMs\r - Congratulations!");
    EXPECT_EQ(MissSummary(r.counters()).text,
              Cr({" You are missing 00 out of 38 known Nintendo Virtual Boy ROMs", " - Congratulations!", "",
                  "Do you wish to view additional details?"}));
    EXPECT_EQ(DupesSummary(r.counters()).text,
              Cr({" You have 05 duplicate Nintendo Virtual Boy ROMs", "", "Out of these files:",
                  "   04 are Good \"[!]\" ROMs", "   01 are Bad \"[b]\" ROMs", "", "Do you wish to view additional details?"}));
}
