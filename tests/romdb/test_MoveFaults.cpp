// Rename and move when the file system fails: no file is ever lost, the
// failure is logged and reported, and the run ends normally.
#include <gtest/gtest.h>

#include "romdb/Collection.h"
#include "romdb/DetailReport.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::romdb;
using test::FilesUnder;

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class MoveFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.vb", "b.vb", "c.vb"}) test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
        test::WriteKnown(dir.Path(), "d.vb", "Red Alarm (J) [!]");
        before = FilesUnder(dir.Path());
    }
    void Run(bool move = true) {
        collection.SetListingDirectory(dir.Path().string());
        CollectionOptions options;
        options.rename = true;
        options.move = move;
        collection.Run(options);
    }
    std::string Base() const { return dir.Path().string() + "/"; }
    // Every ROM's bytes are somewhere under the directory, as often as before.
    void ExpectNothingLost() const { EXPECT_EQ(test::Contents(FilesUnder(dir.Path())), test::Contents(before)); }
    // The run ended as every run does: controls back, progress bar off.
    void ExpectRunEnded() const {
        EXPECT_FALSE(collection.Running());
        ASSERT_GE(host.steps.size(), 2u);
        EXPECT_EQ(host.steps[1], RunStep::ControlsRestored);
        EXPECT_EQ(host.steps.back(), RunStep::ProgressHidden);
    }

    test::TempDir dir;
    test::FaultyFileOps files;
    test::RecordingHost host;
    Collection collection{files, host, [] { return 0.25; }};
    std::map<std::string, std::vector<std::uint8_t>> before;
};

}  // namespace

TEST_F(MoveFaultTest, DestinationThatCannotBeMadeLeavesFilesInTheTemporaryDirectory) {
    files.failMakeDirectory = [](const std::string& p) { return Contains(p, "VBoyRen"); };
    Run();
    ExpectNothingLost();
    ExpectRunEnded();
    EXPECT_EQ(FilesUnder(dir.Path() / "~ROMTMP250").size(), 4u);
    const std::string told = host.Text("Files not moved");
    EXPECT_TRUE(Contains(told, Base() + "VBoyRen\r    Cannot create the directory")) << told;
    EXPECT_TRUE(Contains(told, Base() + "~ROMTMP250/Golf (U) [!].vb\r")) << told;
    EXPECT_TRUE(Contains(told, "kept in:\r" + Base() + "~ROMTMP250/")) << told;
    EXPECT_TRUE(Contains(collection.reports().log(), "Cannot create rename directory: "));
    EXPECT_TRUE(Contains(collection.reports().log(), "Golf (U) [!].vb NOT moved to " + Base() + "VBoyRen/"));
    EXPECT_EQ(host.Titles().back(), "Complete");
}

TEST_F(MoveFaultTest, UnwritableDestinationKeepsTheSourcesInPlace) {
    files.failCopyTo = [](const std::string& p) { return Contains(p, "~ROMTMP"); };
    Run(false);
    EXPECT_EQ(FilesUnder(dir.Path()), before);  // nothing renamed, nothing left behind
    ExpectRunEnded();
    const std::string told = host.Text("Files not moved");
    EXPECT_EQ(told.substr(0, told.find('\r')), "These files could not be moved and were left where they were:");
    EXPECT_TRUE(Contains(told, "\r" + Base() + "a.vb\r    Cannot write")) << told;
    EXPECT_TRUE(Contains(collection.reports().log(),
                         Base() + "d.vb NOT moved to " + Base() + "~ROMTMP250/Red Alarm (J) [!].vb : Cannot write"));
}

TEST_F(MoveFaultTest, FileRemovedDuringTheRunIsReportedAndTheOthersMove) {
    files.beforeCopy = [](const std::string& from) {
        if (from.size() >= 4 && from.substr(from.size() - 4) == "b.vb") std::filesystem::remove(from);
    };
    Run();
    ExpectRunEnded();
    before.erase("b.vb");  // the user's own removal
    ExpectNothingLost();
    EXPECT_EQ(FilesUnder(dir.Path() / "VBoyRen").size(), 3u);
    EXPECT_TRUE(Contains(host.Text("Files not moved"), Base() + "b.vb\r"));
    EXPECT_FALSE(std::filesystem::exists(Base() + "~ROMTMP250"));
}

TEST_F(MoveFaultTest, CopyThatFailsPartWayNeverCostsTheOriginal) {
    files.partialCopyTo = [](const std::string& p) { return Contains(p, "Red Alarm"); };
    Run();
    ExpectNothingLost();  // and no half file anywhere
    EXPECT_EQ(test::ReadBytes(dir.File("d.vb")), before.at("d.vb"));
    EXPECT_TRUE(Contains(collection.reports().log(), "d.vb NOT moved to "));

    // A copy that claims success but is short is caught by the check before the delete.
    host = {};
    files.partialCopyReportsFailure = false;
    Run();
    ExpectNothingLost();
    EXPECT_TRUE(Contains(host.Text("Files not moved"), "did not match the original."));
}

TEST_F(MoveFaultTest, SourceThatCannotBeDeletedStaysBesideItsCopy) {
    files.failRemove = [this](const std::string& p) { return p == Base() + "c.vb"; };
    Run();
    ExpectRunEnded();
    EXPECT_EQ(test::ReadBytes(dir.File("c.vb")), before.at("c.vb"));
    EXPECT_EQ(FilesUnder(dir.Path() / "VBoyRen").size(), 4u);
    EXPECT_TRUE(Contains(host.Text("Files not moved"), "but the original could not be deleted"));
}

TEST_F(MoveFaultTest, CancelInEitherPhaseLosesNothing) {
    // Cancelled during the move into the temporary directory, after two files.
    host.onEvents = [this](int events) {
        if (events == 7) collection.RequestCancel();
    };
    Run();
    ExpectNothingLost();
    ExpectRunEnded();
    EXPECT_EQ(FilesUnder(dir.Path() / "~ROMTMP250").size(), 2u);
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Continue operation?", "Files not moved", "Cancelled"}));
    EXPECT_TRUE(Contains(host.messages[1].text, "kept in:\r" + Base() + "~ROMTMP250/"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("c.vb")));
    // The statuses stay, the reports keep their reset texts.
    EXPECT_EQ(collection.Status(0), "Golf (U) [!]");
    EXPECT_EQ(collection.reports().have(), Reports().have());

    // Cancelled while moving back out of a fresh temporary directory.
    std::filesystem::remove_all(dir.Path() / "~ROMTMP250");
    for (const auto& [name, bytes] : before) test::WriteBytes(dir.File(name), bytes);
    host = {};
    Collection second{files, host, [] { return 0.5; }};
    host.onEvents = [&second](int events) {
        if (events == 10) second.RequestCancel();  // after the first file is back out
    };
    second.SetListingDirectory(dir.Path().string());
    CollectionOptions options;
    options.rename = options.move = true;
    second.Run(options);
    ExpectNothingLost();
    EXPECT_EQ(FilesUnder(dir.Path() / "VBoyRen").size(), 1u);
    EXPECT_EQ(FilesUnder(dir.Path() / "~ROMTMP500").size(), 3u);
    EXPECT_EQ(host.Titles().back(), "Cancelled");
    EXPECT_EQ(second.ListingDirectory(), Base() + "VBoyRen");
}

// The four reports' files end in their last CR (not CR LF); a file that
// cannot be written is named and leaves the report texts alone.
TEST(ListFilesTest, WrittenWithTheirEndingAndFailuresLeaveTheTextsAlone) {
    test::TempDir dir;
    test::FaultyFileOps files;
    Reports reports;
    app::Message saved = SaveListFiles(files, dir.Path().string(), reports, false);
    EXPECT_EQ(saved.title, "Files saved");
    EXPECT_EQ(saved.text, "List files have been saved to:\rVBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt");
    EXPECT_FALSE(std::filesystem::exists(dir.File("VBoyLog.txt")));
    saved = SaveListFiles(files, dir.Path().string(), reports, true);
    EXPECT_EQ(saved.text, "List files have been saved to:\rVBoyHave.txt, VBoyMiss.txt\rVBoyDupes.txt, VBoyLog.txt");
    const auto log = test::ReadBytes(dir.File("VBoyLog.txt"));
    EXPECT_EQ(std::string(log.begin(), log.end()), "File change log:\r\n  No changes\r");

    files.failWrite = [](const std::string& p) { return Contains(p, "VBoyMiss"); };
    const std::string text = reports.miss();
    saved = SaveListFiles(files, dir.Path().string(), reports, true);
    EXPECT_EQ(saved.title, "Files not saved");
    EXPECT_TRUE(Contains(saved.text, dir.File("VBoyMiss.txt")));
    EXPECT_EQ(reports.miss(), text);
}
