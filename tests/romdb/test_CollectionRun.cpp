// SPDX-License-Identifier: GPL-3.0-or-later
// Listing, identifying and cancelling a collection run, without renaming.
#include <gtest/gtest.h>

#include "romdb/DetailReport.h"
#include "romdb/Listing.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/RomScan.h"

using namespace kestro;
using namespace kestro::romdb;
using test::CollectionTest;

namespace {

// Monospaced widths, as a fixed-pitch label would measure.
int CharWidth(const std::string& text) {
    return static_cast<int>(text.size());
}

}  // namespace

TEST(Listing, ListsVbFilesInAnyCaseInFileListOrder) {
    test::TempDir dir;
    for (const char* name : {"golf.vb", "a.vb", "Zeta.VB", "beta.Vb", "notes.txt", "vb", "x.vbx"}) {
        test::WriteBytes(dir.File(name), {1});
    }
    std::filesystem::create_directory(dir.Path() / "sub.vb");
    DiskFileOps disk;
    EXPECT_EQ(ListRomFiles(disk, dir.Path().string()),
              (std::vector<std::string>{"a.vb", "beta.Vb", "golf.vb", "Zeta.VB"}));
    EXPECT_TRUE(ListRomFiles(disk, dir.File("missing")).empty());
}

// Pure helpers of the listing: progress never lands on a half, names the file
// system refuses become safe, and non-ASCII names line up by the characters shown.
TEST(Listing, ProgressSafeNamesAndDisplayColumns) {
    EXPECT_EQ(RoundPercent(2.5), 2);
    EXPECT_EQ(RoundPercent(3.5), 4);
    EXPECT_EQ(ProgressAt(0, 100, 1, 8), 12);
    EXPECT_EQ(ProgressAt(25, 25, 1, 2), 38);  // 37.5 goes to the even 38
    EXPECT_EQ(ProgressAt(75, 25, 0, 0), 75);

    const std::pair<std::string, std::string> rows[] = {
        {"", "_"}, {".", "_"}, {"..", "_"}, {"...", "..."}, {"a/b:c?", "a_b_c_"}, {"t\x01\x7f", "t__"}};
    for (const auto& [name, safe] : rows) EXPECT_EQ(SafeFileName(name), safe) << name;

    const std::string golf = "\xE3\x82\xB4\xE3\x83\xAB\xE3\x83\x95.vb";  // ゴルフ.vb: 9 columns, 12 bytes
    const std::string cafe = "cafe\xCC\x80.vb";  // cafè.vb, its grave accent U+0300, the first combining mark: 7 columns
    EXPECT_EQ(LongestNameLength({golf, cafe, "golf.vb"}), 9u);
    EXPECT_EQ(DisplayLine(cafe, 9, "[UNKNOWN VB ROM]"), cafe + "   - [UNKNOWN VB ROM]");
    EXPECT_EQ(StatusOfLine(golf + " - Golf (U) [!]", 9), "Golf (U) [!]");
    EXPECT_EQ(NameOfLine(golf + " - Golf (U) [!]", 9), golf);
    EXPECT_EQ(StatusOfLine(cafe + "   - [UNKNOWN VB ROM]", 9), "[UNKNOWN VB ROM]");
}

TEST(RomScanTest, ReadsSizeHeaderAndBothChecksumsInOnePass) {
    test::TempDir dir;
    DiskFileOps disk;
    std::vector<std::uint8_t> buffer;
    // Larger than one read chunk, with the header across a chunk boundary.
    const std::size_t size = 6 * kReadChunkSize + 530;
    auto bytes = test::RomBuilder::KnownDump("Golf (U) [!]").Size(size).WriteTo(dir.File("g.vb"));
    RomScan scan = ScanRomFile(disk, dir.File("g.vb"), buffer);
    ASSERT_TRUE(scan.Valid());
    EXPECT_EQ(scan.size, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(scan.ChecksumA(), "10881B6D");
    EXPECT_EQ(scan.ChecksumB(), "1088202E");
    EXPECT_EQ(HeaderFromDigits(HeaderDigits(scan.header)), scan.header);
    EXPECT_EQ(HeaderDigits(std::string("A\0\xFF", 3)), "065000255");
    EXPECT_EQ(buffer.size(), kReadChunkSize);

    test::WriteBytes(dir.File("545.vb"), std::vector<std::uint8_t>(545, 0));
    EXPECT_TRUE(ScanRomFile(disk, dir.File("545.vb"), buffer).Valid());
    test::WriteBytes(dir.File("544.vb"), std::vector<std::uint8_t>(544, 0));
    EXPECT_EQ(ScanRomFile(disk, dir.File("544.vb"), buffer).result, RomScan::Result::TooSmall);
    EXPECT_EQ(ScanRomFile(disk, dir.File("gone.vb"), buffer).result, RomScan::Result::Unreadable);
}

// The statuses of the mixed collection are the command line's and the
// window's to test; here the cells behind the detail reports: size and header
// for every valid file, the checksum only for known dumps.
TEST_F(CollectionTest, EveryKindOfFileGetsItsCellsAndDetailReport) {
    test::WriteMixedCollection(dir.Path());
    Run();
    EXPECT_EQ(host.messages[0].text, "NOTE: Identifying ROMs may take a while.\n\nDo you wish to continue?");
    const FileRow& golf = Row("golf1.vb");
    EXPECT_EQ(golf.checksum, "1088202E");
    EXPECT_EQ(golf.header.substr(0, 12), "071079076070");  // "GOLF"
    EXPECT_EQ(Row("j_reserved.vb").size, "");

    auto unknown = DetailReport(Row("g_unknown.vb"), collection.LongestNameLength(), CharWidth);
    EXPECT_EQ(unknown.text,
              "-------------\rg_unknown.vb:\r-------------\rIdentified as: [UNKNOWN VB ROM]\rChecksum: \r"
              "----------------\rROM Information:\r----------------\rROM size: 65536 Bytes  (0.5 MBit)\r"
              "ROM title: TEST ROM\rManufacturer ID: 01 (Nintendo)\rROM ID: VTSE\rROM Version: 1.0");
    auto invalid = DetailReport(Row("h_small.vb"), collection.LongestNameLength(), CharWidth);
    EXPECT_EQ(invalid.text, "-----------\rh_small.vb:\r-----------\rIdentified as: NOT A VALID VB ROM IMAGE");
    EXPECT_EQ(invalid.title, "ROM Identification:");
}

TEST_F(CollectionTest, ProgressStepsThroughTheFilesAndARenameCanBeRefused) {
    for (const char* name : {"a.vb", "b.vb", "c.vb", "d.vb"}) test::RomBuilder::Unknown().WriteTo(dir.File(name));
    Run();
    EXPECT_EQ(host.progress, (std::vector<int>{0, 0, 25, 50, 75, 100, 0}));
    EXPECT_EQ(host.steps, (std::vector<RunStep>{RunStep::Started, RunStep::ControlsRestored, RunStep::ProgressHidden}));

    host = {};
    host.answer = base::MessageResult::No;  // the question stops the run before anything changes
    RunRename(true);
    EXPECT_TRUE(host.progress.empty());
    EXPECT_EQ(host.messages.back().text,
              "NOTE: Identifying ROMs may take a long while.\nExisting files will be overwritten. Please make sure "
              "you\nhave any files you do not wish to lose backed up.\n\nDo you still wish to continue?");
}

// The window shows the table after a cancel; here the reports it withdraws
// and the detail report of a file the run did not reach.
TEST_F(CollectionTest, CancelAfterTheSecondFileWithdrawsTheReports) {
    for (const char* name : {"1.vb", "2.vb", "3.vb", "4.vb", "5.vb"})
        test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
    // The first yield follows the start; then one after each known file.
    host.onEvents = [this](int events) {
        if (events == 3) collection.RequestCancel();
    };
    Run();
    EXPECT_EQ(collection.Status(1), "Golf (U) [!]");
    EXPECT_EQ(collection.Status(2), "[YET TO BE IDENTIFIED]");
    EXPECT_EQ(host.messages.back().text, "ROM identiification aborted.");
    EXPECT_EQ(host.steps, (std::vector<RunStep>{RunStep::Started, RunStep::ControlsRestored, RunStep::ReportsWithdrawn,
                                                RunStep::ProgressHidden}));
    EXPECT_EQ(collection.reports().dupes(), Reports().dupes());
    EXPECT_FALSE(collection.CancelRequested());  // the next run starts afresh
    EXPECT_EQ(DetailReport(collection.Rows()[3], collection.LongestNameLength(), CharWidth).text,
              "-----\r4.vb:\r-----\rIdentified as: [YET TO BE ANALYSED]\rChecksum: ??????\r----------------\r"
              "ROM Information:\r----------------\rROM size: ?????? Bytes  (?? MBit)\rROM title: ??????\r"
              "Manufacturer ID: ?? (??????"  // split so that "??)" is not read as a trigraph
              ")\rROM ID: ????\rROM Version: ??");

    // A run stopped by an error ends as a cancelled one: its message, then never "Complete".
    host = {};
    files.beforeOpen = [](const std::string&) { throw std::runtime_error("out of memory"); };
    Run();
    EXPECT_EQ(host.messages.back(), AbortedMessage());
    EXPECT_EQ(host.steps[2], RunStep::ReportsWithdrawn);
}

// A good ROM that cannot be read stays "invalid", as designed, but the user
// learns which file it is and why: in one message at the end and in the log.
TEST_F(CollectionTest, UnreadableFilesAreNamedWithTheirReason) {
    test::WriteKnown(dir.Path(), "a.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "locked.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "z.vb", "Red Alarm (J) [!]");
    files.failOpen = [](const std::string& p) { return p.ends_with("locked.vb"); };
    Run({});
    EXPECT_EQ(collection.Status(1), "[INVALID VB ROM IMAGE]");
    EXPECT_EQ(collection.Status(2), "Red Alarm (J) [!]");
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Continue operation?", "Files not read", "Complete"}));
    EXPECT_EQ(host.Text("Files not read"), "These files could not be read and are listed as invalid:\r" + Base() +
                                               "locked.vb\r    Permission denied");
    EXPECT_EQ(collection.reports().log(),
              "File change log:\r\n  No changes\r\n" + Base() + "locked.vb could not be read: Permission denied\r\n");
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
