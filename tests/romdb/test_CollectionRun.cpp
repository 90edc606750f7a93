#include <gtest/gtest.h>

#include "romdb/Collection.h"
#include "romdb/DetailReport.h"
#include "romdb/Listing.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/RomScan.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::romdb;
using test::RecordingHost;

namespace {

struct CollectionTest : ::testing::Test {
    const FileRow& Row(const std::string& name) const {
        for (const FileRow& row : collection.Rows()) {
            if (row.name == name) return row;
        }
        throw std::out_of_range(name);
    }

    test::TempDir dir;
    DiskFileOps disk;
    RecordingHost host;
    Collection collection{disk, host, [] { return 0.5; }};
};

// Monospaced widths, as a fixed-pitch label would measure.
int CharWidth(const std::string& text) {
    return static_cast<int>(text.size());
}

}  // namespace

// The statuses of the mixed collection are the command line's and the
// window's to test; here the cells behind the detail reports: size and header
// for every valid file, the checksum only for known dumps.
TEST_F(CollectionTest, EveryKindOfFileGetsItsCellsAndDetailReport) {
    test::WriteMixedCollection(dir.Path());
    collection.SetListingDirectory(dir.Path().string());
    collection.Run({});
    EXPECT_EQ(host.messages[0].text, "NOTE: Identifying ROMs may take a while.\n\nDo you wish to continue?");
    const FileRow& golf = Row("golf1.vb");
    EXPECT_EQ(golf.size, std::to_string(test::ReadBytes(dir.File("golf1.vb")).size()));
    EXPECT_EQ(golf.checksum, "1088202E");
    EXPECT_EQ(golf.header.substr(0, 12), "071079076070");  // "GOLF"
    EXPECT_EQ(golf.identified, "Golf (U) [!]");
    EXPECT_EQ(Row("e_hack.vb").checksum.size(), 8u);
    EXPECT_EQ(Row("g_unknown.vb").size, "65536");
    EXPECT_EQ(Row("g_unknown.vb").checksum, "");
    EXPECT_EQ(Row("j_reserved.vb").size, "");
    EXPECT_EQ(Row("i_empty.vb").header, "");

    auto unknown = DetailReport(Row("g_unknown.vb"), collection.LongestNameLength(), CharWidth);
    EXPECT_EQ(unknown.text,
              "-------------\rg_unknown.vb:\r-------------\rIdentified as: [UNKNOWN VB ROM]\rChecksum: \r"
              "----------------\rROM Information:\r----------------\rROM size: 65536 Bytes  (0.5 MBit)\r"
              "ROM title: TEST ROM\rManufacturer ID: 01 (Nintendo)\rROM ID: VTSE\rROM Version: 1.0");
    auto invalid = DetailReport(Row("h_small.vb"), collection.LongestNameLength(), CharWidth);
    EXPECT_EQ(invalid.text, "-----------\rh_small.vb:\r-----------\rIdentified as: NOT A VALID VB ROM IMAGE");
    EXPECT_EQ(invalid.title, "ROM Identification:");
}

TEST_F(CollectionTest, ProgressStepsThroughTheFilesAndEndsAtZero) {
    for (const char* name : {"a.vb", "b.vb", "c.vb", "d.vb"}) test::RomBuilder::Unknown().WriteTo(dir.File(name));
    collection.SetListingDirectory(dir.Path().string());
    collection.Run({});
    EXPECT_EQ(host.progress, (std::vector<int>{0, 0, 25, 50, 75, 100, 0}));
    EXPECT_EQ(host.steps, (std::vector<RunStep>{RunStep::Started, RunStep::ControlsRestored, RunStep::ProgressHidden}));

    host.progress.clear();
    CollectionOptions rename;
    rename.rename = true;
    host.answer = app::MessageResult::No;  // the question stops the run before anything changes
    collection.Run(rename);
    EXPECT_TRUE(host.progress.empty());
    EXPECT_EQ(host.messages.back().text,
              "NOTE: Identifying ROMs may take a long while.\nExisting files will be overwritten. Please make sure "
              "you\nhave any files you do not wish to lose backed up.\n\nDo you still wish to continue?");
}

TEST_F(CollectionTest, CancelAfterTheSecondFileLeavesTheRestUnidentified) {
    for (const char* name : {"1.vb", "2.vb", "3.vb", "4.vb", "5.vb"}) {
        test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
    }
    collection.SetListingDirectory(dir.Path().string());
    // The first yield follows the start; then one after each known file.
    host.onEvents = [this](int events) {
        if (events == 3) collection.RequestCancel();
    };
    collection.Run({});
    EXPECT_EQ(collection.Status(1), "Golf (U) [!]");
    EXPECT_EQ(collection.Status(2), "[YET TO BE IDENTIFIED]");
    EXPECT_EQ(host.messages.back().text, "ROM identiification aborted.");
    EXPECT_EQ(host.steps, (std::vector<RunStep>{RunStep::Started, RunStep::ControlsRestored, RunStep::ReportsWithdrawn,
                                                RunStep::ProgressHidden}));
    // The reports keep their reset texts, and the next run starts afresh.
    EXPECT_EQ(collection.reports().dupes(), Reports().dupes());
    EXPECT_FALSE(collection.CancelRequested());
    EXPECT_FALSE(collection.Running());
    EXPECT_EQ(DetailReport(collection.Rows()[3], collection.LongestNameLength(), CharWidth).text,
              "-----\r4.vb:\r-----\rIdentified as: [YET TO BE ANALYSED]\rChecksum: ??????\r----------------\r"
              "ROM Information:\r----------------\rROM size: ?????? Bytes  (?? MBit)\rROM title: ??????\r"
              "Manufacturer ID: ?? (??????"
              ")\rROM ID: ????\rROM Version: ??");
}

TEST_F(CollectionTest, EmptyOrMissingDirectoryGivesNoRomsFound) {
    collection.SetListingDirectory(dir.File("gone"));
    EXPECT_TRUE(collection.Rows().empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "No ROMs found");
    EXPECT_EQ(host.messages[0].text,
              "No ROMs found in directory:\r" + dir.File("gone") + "\rPlease choose another directory.");
    EXPECT_EQ(host.messages[0].icon, app::MessageIcon::Exclamation);
    collection.Run({});  // the same message, and no question
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"No ROMs found", "No ROMs found"}));
}

TEST_F(CollectionTest, FileRemovedBeforeItIsReadIsInvalidAndTheRunGoesOn) {
    test::WriteKnown(dir.Path(), "a.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "b.vb", "Golf (U) [!]");
    collection.SetListingDirectory(dir.Path().string());
    std::filesystem::remove(dir.File("a.vb"));
    collection.Run({});
    EXPECT_EQ(collection.Status(0), "[INVALID VB ROM IMAGE]");
    EXPECT_EQ(collection.Status(1), "Golf (U) [!]");
    EXPECT_EQ(host.Titles().back(), "Complete");
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.vb")));  // looking never creates a file
}

TEST(DetailReportTest, JapaneseTitleSizeMakerAndVersion) {
    FileRow row;
    row.name = "bomber.vb";
    row.displayLine = "bomber.vb - Panic Bomber (J) [!]";
    row.size = "1048576";
    row.checksum = "037A726C";
    std::string header(32, ' ');
    header.replace(0, 13, "\xC4\xCB\xDE\xC0\xDE\xBE!\xCA\xDF\xC6\xCE\xDE\xDD");
    header.replace(0x14, 5, std::string(5, '\0'));
    header.replace(0x19, 2, "ZZ");
    header.replace(0x1B, 4, "VH2J");
    header[0x1F] = 3;
    row.header = HeaderDigits(header);
    // A proportional font: the indent grows until it is as wide as "ROM title: ".
    auto width = [](const std::string& text) {
        int w = 0;
        for (char c : text) w += c == ' ' ? 3 : c == '-' ? 4 : 7;
        return w;
    };
    const std::string text = DetailReport(row, 9, width).text;
    EXPECT_NE(text.find("\rROM size: 1048576 Bytes  (8 MBit)\r"), std::string::npos) << text;
    // "ROM title: " is 9 letters and 2 spaces wide (69 units): 23 spaces reach it.
    EXPECT_NE(text.find("\rROM title: Tobidase!panibon\r" + std::string(23, ' ') + "(Japanese ROM Title)\r"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\rManufacturer ID: ZZ (UNKNOWN MANU ID)\rROM ID: VH2J\rROM Version: 1.3"), std::string::npos);
    // "bomber.vb:" is 70 units wide: eighteen dashes reach it.
    EXPECT_EQ(text.substr(0, 48), std::string(18, '-') + "\rbomber.vb:\r" + std::string(18, '-'));
}
