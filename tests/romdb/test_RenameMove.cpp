#include <gtest/gtest.h>

#include "romdb/Collection.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::romdb;
using test::FilesUnder;

namespace {

std::vector<std::string> LogLines(const std::string& log) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = log.find("\r\n", at);
        lines.push_back(log.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

class RenameTest : public ::testing::Test {
protected:
    std::string Base() const { return dir.Path().string() + "/"; }
    void Run(bool move) {
        collection.SetListingDirectory(dir.Path().string());
        CollectionOptions options;
        options.rename = true;
        options.move = move;
        collection.Run(options);
    }
    std::vector<std::string> Names(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : FilesUnder(dir.Path() / sub)) {
            if (path.find('/') == std::string::npos) names.push_back(path);
        }
        return names;
    }

    test::TempDir dir;
    DiskFileOps disk;
    test::RecordingHost host;
    Collection collection{disk, host, [] { return 0.4271; }};
};

}  // namespace

TEST_F(RenameTest, FiveCopiesGetCopyNamesAndUnknownFilesStay) {
    for (const char* name : {"a.vb", "b.vb", "c.vb", "d.vb", "e.vb"})
        test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
    test::RomBuilder::Unknown().WriteTo(dir.File("mystery.vb"));
    test::WriteBytes(dir.File("tiny.vb"), {1, 2, 3});
    const auto before = FilesUnder(dir.Path());
    Run(false);

    EXPECT_EQ(Names(), (std::vector<std::string>{"Copy (2) of Golf (U) [!].vb", "Copy (3) of Golf (U) [!].vb",
                                                 "Copy (4) of Golf (U) [!].vb", "Copy of Golf (U) [!].vb",
                                                 "Golf (U) [!].vb", "mystery.vb", "tiny.vb"}));
    EXPECT_EQ(test::Contents(FilesUnder(dir.Path())), test::Contents(before));
    const auto log = LogLines(collection.reports().log());
    ASSERT_EQ(log.size(), 14u);
    EXPECT_EQ(log[0], "File change log:");
    EXPECT_EQ(log[1], "Creating temporary directory: " + Base() + "~ROMTMP427/");
    EXPECT_EQ(log[2], Base() + "a.vb       moved to " + Base() + "~ROMTMP427/Golf (U) [!].vb");
    EXPECT_EQ(log[3], Base() + "b.vb       moved to " + Base() + "~ROMTMP427/Copy of Golf (U) [!].vb");
    EXPECT_EQ(log[4], Base() + "c.vb       moved to " + Base() + "~ROMTMP427/Copy (2) of Golf (U) [!].vb");
    EXPECT_EQ(log[7], "Skipping " + Base() + "mystery.vb : UNKNOWN ROM");
    EXPECT_EQ(log[8], "Skipping " + Base() + "tiny.vb    : INVALID ROM");
    EXPECT_EQ(log[9],
              Base() + "~ROMTMP427/Copy (2) of Golf (U) [!].vb moved to " + Base() + "Copy (2) of Golf (U) [!].vb");
    EXPECT_EQ(log[13],
              Base() + "~ROMTMP427/Golf (U) [!].vb" + std::string(12, ' ') + " moved to " + Base() + "Golf (U) [!].vb");

    // The listing stays on the directory, identified again; the temporary directory is gone.
    EXPECT_EQ(collection.ListingDirectory(), dir.Path().string());
    EXPECT_EQ(collection.Status(4), "Golf (U) [!]");
    EXPECT_EQ(collection.Rows()[4].identified, "Golf (U) [!]");
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Continue operation?", "Complete"}));
    EXPECT_EQ(host.messages.back().text, "ROM identification & rename complete.");
    EXPECT_EQ(collection.reports().dupes().find("Good ROMs:\r\n  Golf (U) [!] [4 copies]\r\n\r\nBad"), 0u);
    // Identification 0-25 over 7 files, phase one 25-50, phase two 50-75, identifying again 75-100.
    EXPECT_EQ(host.progress, (std::vector<int>{0,  0,  4,  7,  11, 14, 18, 21, 25, 29, 32, 36, 39, 43,  46, 50,
                                               50, 55, 60, 65, 70, 75, 75, 79, 82, 86, 89, 93, 96, 100, 0}));
}

// The whole mixed collection moved into VBoyRen is the command line's test;
// here VBoyRen is made once, found the second time, and never overwritten.
TEST_F(RenameTest, VBoyRenIsCreatedThenFoundAndNothingThereIsOverwritten) {
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]", 3);
    test::RomBuilder::Unknown().WriteTo(dir.File("u.vb"));
    Run(true);
    const auto first = LogLines(collection.reports().log());
    EXPECT_EQ(first[4], "Rename directory: " + Base() + "VBoyRen/ created");
    EXPECT_EQ(collection.ListingDirectory(), Base() + "VBoyRen");
    EXPECT_EQ(host.messages.back().text,
              "ROM identification & rename complete.\n\nFiles moved to:\n" + Base() + "VBoyRen/");
    EXPECT_EQ(Names(), std::vector<std::string>{"u.vb"});

    // Two more Golf dumps that differ from the one kept: each gets a free copy name there.
    const auto before = FilesUnder(dir.Path());
    for (const char* name : {"x.vb", "y.vb"}) test::WriteKnown(dir.Path(), name, "Golf (U) [!]", 9);
    const auto added = test::ReadBytes(dir.File("x.vb"));
    host.messages.clear();
    Run(true);
    const auto second = LogLines(collection.reports().log());
    EXPECT_EQ(std::count_if(second.begin(), second.end(),
                            [](const std::string& l) { return l.find("Rename directory:") == 0; }),
              0);
    EXPECT_EQ(Names("VBoyRen"),
              (std::vector<std::string>{"Copy (2) of Golf (U) [!].vb", "Copy of Golf (U) [!].vb", "Golf (U) [!].vb"}));
    EXPECT_EQ(FilesUnder(dir.Path()).at("VBoyRen/Golf (U) [!].vb"), before.at("VBoyRen/Golf (U) [!].vb"));
    EXPECT_EQ(FilesUnder(dir.Path()).at("VBoyRen/Copy of Golf (U) [!].vb"), added);
    EXPECT_EQ(collection.reports().counters().extraCopies, 2);
}

TEST_F(RenameTest, DirectoryWithNothingIdentifiedMovesNothing) {
    test::RomBuilder::Unknown().WriteTo(dir.File("u.vb"));
    test::WriteBytes(dir.File("empty.vb"), {});
    const auto before = FilesUnder(dir.Path());
    Run(false);
    EXPECT_EQ(FilesUnder(dir.Path()), before);
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Continue operation?", "No ROMs found", "Complete"}));
    EXPECT_EQ(host.messages[1].text,
              "No ROMs found in directory:\r" + Base() + "~ROMTMP427\rPlease choose another directory.");
    EXPECT_FALSE(std::filesystem::exists(Base() + "~ROMTMP427"));
    EXPECT_EQ(LogLines(collection.reports().log()),
              (std::vector<std::string>{"File change log:", "Creating temporary directory: " + Base() + "~ROMTMP427/",
                                        "Skipping " + Base() + "empty.vb : INVALID ROM",
                                        "Skipping " + Base() + "u.vb     : UNKNOWN ROM"}));
}

TEST_F(RenameTest, TemporaryNameAlreadyTakenDrawsAgainAndHackedDumpKeepsItsMark) {
    std::filesystem::create_directory(Base() + "~ROMTMP427");
    test::RomBuilder::KnownDump("Golf (U) [!]").GameCode("VVGJ").WriteTo(dir.File("golf.vb"));
    std::vector<double> draws{0.4271, 0.4279, 0.0014};
    Collection drawn{disk, host, [&draws] {
                         double d = draws.front();
                         draws.erase(draws.begin());
                         return d;
                     }};
    drawn.SetListingDirectory(dir.Path().string());
    CollectionOptions options;
    options.rename = true;
    drawn.Run(options);
    EXPECT_EQ(LogLines(drawn.reports().log())[1], "Creating temporary directory: " + Base() + "~ROMTMP001/");
    EXPECT_TRUE(std::filesystem::exists(dir.File("Golf (U) [h].vb")));
    EXPECT_TRUE(std::filesystem::is_directory(Base() + "~ROMTMP427"));  // someone else's stays
}
