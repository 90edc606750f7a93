// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming and moving: copy names, the change log, VBoyRen, and what happens
// when the file system fails. No file is ever lost.
#include <gtest/gtest.h>

#include "romdb/DetailReport.h"
#include "romdb/RomDbFixtures.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace kestro;
using namespace kestro::romdb;
using test::FilesUnder;

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> LogLines(const std::string& log) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = log.find("\r\n", at);
        lines.push_back(log.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

class RenameTest : public test::CollectionTest {
protected:
    // The files directly in the directory (or a subdirectory of it).
    std::vector<std::string> Names(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : FilesUnder(dir.Path() / sub)) {
            if (path.find('/') == std::string::npos) names.push_back(path);
        }
        return names;
    }
};

// Three Golf dumps and a Red Alarm, renamed and moved into VBoyRen by
// copying, as across file systems, with one fault of the file system.
struct MoveScene {
    test::TempDir dir;
    test::FaultyFileOps files;
    test::RecordingHost host;
    Collection collection{files, host, [] { return 0.25; }};
    std::string base = dir.Path().string() + "/";
    std::map<std::string, std::vector<std::uint8_t>> before;
};

// Regular files directly in a directory; none when it is gone.
std::size_t FilesIn(const std::filesystem::path& d) {
    std::size_t n = 0;
    if (!std::filesystem::is_directory(d)) return 0;
    for (const auto& entry : std::filesystem::directory_iterator(d)) n += entry.is_regular_file() ? 1 : 0;
    return n;
}

}  // namespace

TEST_F(RenameTest, FiveCopiesGetCopyNamesAndUnknownFilesStay) {
    for (const char* name : {"a.vb", "b.vb", "c.vb", "d.vb", "e.vb"})
        test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
    test::RomBuilder::Unknown().WriteTo(dir.File("mystery.vb"));
    test::WriteBytes(dir.File("tiny.vb"), {1, 2, 3});
    const auto before = FilesUnder(dir.Path());
    RunRename(false);

    EXPECT_EQ(Names(), (std::vector<std::string>{"Copy (2) of Golf (U) [!].vb", "Copy (3) of Golf (U) [!].vb",
                                                 "Copy (4) of Golf (U) [!].vb", "Copy of Golf (U) [!].vb",
                                                 "Golf (U) [!].vb", "mystery.vb", "tiny.vb"}));
    EXPECT_EQ(test::Contents(FilesUnder(dir.Path())), test::Contents(before));
    const auto log = LogLines(collection.reports().log());
    ASSERT_EQ(log.size(), 14u);
    // Names are padded to the longest of their phase.
    EXPECT_EQ(log[1], "Creating temporary directory: " + Base() + "~ROMTMP250/");
    EXPECT_EQ(log[3], Base() + "b.vb       moved to " + Base() + "~ROMTMP250/Copy of Golf (U) [!].vb");
    EXPECT_EQ(log[7], "Skipping " + Base() + "mystery.vb : UNKNOWN ROM");
    EXPECT_EQ(log[8], "Skipping " + Base() + "tiny.vb    : INVALID ROM");
    EXPECT_EQ(log[13],
              Base() + "~ROMTMP250/Golf (U) [!].vb" + std::string(12, ' ') + " moved to " + Base() + "Golf (U) [!].vb");

    // The listing stays on the directory, identified again; the temporary directory is gone.
    EXPECT_EQ(collection.ListingDirectory(), dir.Path().string());
    EXPECT_EQ(collection.Rows()[4].identified, "Golf (U) [!]");
    EXPECT_EQ(host.messages.back().text, "ROM identification & rename complete.");
    // Identification 0-25 over 7 files, phase one 25-50, phase two 50-75, identifying again 75-100.
    EXPECT_EQ(host.progress, (std::vector<int>{0,  0,  4,  7,  11, 14, 18, 21, 25, 29, 32, 36, 39, 43,  46, 50,
                                               50, 55, 60, 65, 70, 75, 75, 79, 82, 86, 89, 93, 96, 100, 0}));
}

// The whole mixed collection moved into VBoyRen is the command line's test;
// here VBoyRen is made once, found the second time, and never overwritten.
TEST_F(RenameTest, VBoyRenIsCreatedThenFoundAndNothingThereIsOverwritten) {
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]", 3);
    test::RomBuilder::Unknown().WriteTo(dir.File("u.vb"));
    RunRename(true);
    const auto first = LogLines(collection.reports().log());
    EXPECT_EQ(first[4], "Rename directory: " + Base() + "VBoyRen/ created");
    EXPECT_EQ(host.messages.back().text,
              "ROM identification & rename complete.\n\nFiles moved to:\n" + Base() + "VBoyRen/");
    EXPECT_EQ(Names(), std::vector<std::string>{"u.vb"});

    // Two more Golf dumps that differ from the one kept: each gets a free copy name there.
    const auto before = FilesUnder(dir.Path());
    for (const char* name : {"x.vb", "y.vb"}) test::WriteKnown(dir.Path(), name, "Golf (U) [!]", 9);
    const auto added = test::ReadBytes(dir.File("x.vb"));
    host = {};
    RunRename(true);
    EXPECT_EQ(collection.reports().log().find("Rename directory:"), std::string::npos);
    EXPECT_EQ(Names("VBoyRen"),
              (std::vector<std::string>{"Copy (2) of Golf (U) [!].vb", "Copy of Golf (U) [!].vb", "Golf (U) [!].vb"}));
    EXPECT_EQ(FilesUnder(dir.Path()).at("VBoyRen/Golf (U) [!].vb"), before.at("VBoyRen/Golf (U) [!].vb"));
    EXPECT_EQ(FilesUnder(dir.Path()).at("VBoyRen/Copy of Golf (U) [!].vb"), added);
}

// Within one file system a move is a rename: each ROM keeps its inode, and
// the names and the log are those of a copy.
TEST_F(RenameTest, MovesWithinOneFileSystemKeepEveryFilesInode) {
    std::map<std::string, std::uint64_t> inodes;
    for (const char* name : {"a.vb", "b.vb"}) test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "d.vb", "Red Alarm (J) [!]");
    const auto before = FilesUnder(dir.Path());
    auto inode = [](const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return static_cast<std::uint64_t>(info.st_ino);
    };
    for (const char* name : {"a.vb", "b.vb", "d.vb"}) inodes[name] = inode(dir.File(name));
    RunRename(true);
    const std::string moved = Base() + "VBoyRen/";
    EXPECT_EQ(inode(moved + "Golf (U) [!].vb"), inodes["a.vb"]);
    EXPECT_EQ(inode(moved + "Copy of Golf (U) [!].vb"), inodes["b.vb"]);
    EXPECT_EQ(inode(moved + "Red Alarm (J) [!].vb"), inodes["d.vb"]);
    EXPECT_EQ(files.synced, (std::vector<std::string>{Base(), Base() + "~ROMTMP250/", Base() + "~ROMTMP250/", moved}))
        << "each directory a move changed is flushed before the next step";
    EXPECT_EQ(test::Contents(FilesUnder(dir.Path())), test::Contents(before));
    EXPECT_EQ(LogLines(collection.reports().log())[2],
              Base() + "a.vb moved to " + Base() + "~ROMTMP250/Golf (U) [!].vb");
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Continue operation?", "Complete"}));

    // A rename the file system refuses leaves the file where it was and says so.
    test::WriteKnown(dir.Path(), "e.vb", "Golf (U) [!]");
    files.failRename = [](const std::string& to) { return to.find("~ROMTMP") != std::string::npos; };
    host = {};
    RunRename(false);
    EXPECT_TRUE(std::filesystem::exists(dir.File("e.vb")));
    EXPECT_TRUE(Contains(host.Text("Files not moved"), Base() + "e.vb\r    Cannot move " + Base() + "e.vb: "));
}

TEST_F(RenameTest, DirectoryWithNothingIdentifiedMovesNothing) {
    test::RomBuilder::Unknown().WriteTo(dir.File("u.vb"));
    test::WriteBytes(dir.File("empty.vb"), {});
    const auto before = FilesUnder(dir.Path());
    RunRename(false);
    EXPECT_EQ(FilesUnder(dir.Path()), before);
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Continue operation?", "No ROMs found", "Complete"}));
    EXPECT_EQ(host.messages[1].text,
              "No ROMs found in directory:\r" + Base() + "~ROMTMP250\rPlease choose another directory.");
    EXPECT_FALSE(std::filesystem::exists(Base() + "~ROMTMP250"));
    EXPECT_EQ(LogLines(collection.reports().log()),
              (std::vector<std::string>{"File change log:", "Creating temporary directory: " + Base() + "~ROMTMP250/",
                                        "Skipping " + Base() + "empty.vb : INVALID ROM",
                                        "Skipping " + Base() + "u.vb     : UNKNOWN ROM"}));
}

TEST_F(RenameTest, TemporaryNameAlreadyTakenDrawsAgainAndHackedDumpKeepsItsMark) {
    std::filesystem::create_directory(Base() + "~ROMTMP427");
    test::RomBuilder::KnownDump("Golf (U) [!]").GameCode("VVGJ").WriteTo(dir.File("golf.vb"));
    std::vector<double> draws{0.4271, 0.4279, 0.0014};
    Collection drawn{files, host, [&draws] {
                         double d = draws.front();
                         draws.erase(draws.begin());
                         return d;
                     }};
    drawn.SetListingDirectory(dir.Path().string());
    drawn.Run({.rename = true});
    EXPECT_EQ(LogLines(drawn.reports().log())[1], "Creating temporary directory: " + Base() + "~ROMTMP001/");
    EXPECT_TRUE(std::filesystem::exists(dir.File("Golf (U) [h].vb")));
    EXPECT_TRUE(std::filesystem::is_directory(Base() + "~ROMTMP427"));  // someone else's stays
}

// Whatever fails, and wherever the user cancels, every ROM's bytes are
// somewhere under the directory as often as before, the run ends as every
// run does, and "Files not moved" says where the files are ("$" is the directory).
TEST(MoveFaultTest, NoFaultOrCancelLosesAFile) {
    using Fault = std::function<void(MoveScene&)>;
    const auto has = [](const char* part) { return [part](const std::string& p) { return Contains(p, part); }; };
    const auto cancelAt = [](int at) {
        return [at](MoveScene& s) {
            s.host.onEvents = [&s, at](int events) {
                if (events == at) s.collection.RequestCancel();
            };
        };
    };
    struct Row {
        const char* what;
        Fault fault;
        bool move;
        std::string told;
        std::size_t inPlace, inTemporary, inVBoyRen;
        const char* last;
    };
    const Row rows[] = {
        {"VBoyRen cannot be made", [&](MoveScene& s) { s.files.failMakeDirectory = has("VBoyRen"); }, true,
         "$VBoyRen\r    Cannot create the directory", 0, 4, 0, "Complete"},
        {"the temporary directory is unwritable", [&](MoveScene& s) { s.files.failCopyTo = has("~ROMTMP"); }, false,
         "These files could not be moved and were left where they were:\r$a.vb\r    Cannot write", 4, 0, 0, "Complete"},
        {"a file removed during the run",
         [](MoveScene& s) {
             s.before.erase("b.vb");  // the user's own removal
             s.files.beforeCopy = [](const std::string& from) {
                 if (from.ends_with("/b.vb")) std::filesystem::remove(from);
             };
         },
         true, "$b.vb\r", 0, 0, 3, "Complete"},
        {"a copy that fails part-way", [&](MoveScene& s) { s.files.partialCopyTo = has("Red Alarm"); }, true, "$d.vb\r",
         1, 0, 3, "Complete"},
        {"a short copy claimed whole",
         [&](MoveScene& s) {
             s.files.partialCopyReportsFailure = false;
             s.files.partialCopyTo = has("Red Alarm");
         },
         true, "did not match the original.", 1, 0, 3, "Complete"},
        {"a copy with two bytes swapped", [&](MoveScene& s) { s.files.reorderCopyTo = has("Red Alarm"); }, true,
         "did not match the original.", 1, 0, 3, "Complete"},
        // Named where the copy ended up, not the temporary directory it passed through.
        {"a source that cannot be deleted",
         [&](MoveScene& s) {
             s.before["its copy"] = s.before.at("c.vb");  // kept beside the original
             s.files.failRemove = has("/c.vb");
         },
         true, "$c.vb\r    A copy is at $VBoyRen/Copy (2) of Golf (U) [!].vb, but the original could not be deleted", 1,
         0, 4, "Complete"},
        {"the temporary directory stays", [&](MoveScene& s) { s.files.failRemoveDirectory = has("~ROMTMP"); }, true,
         "The temporary directory was left behind:\r$~ROMTMP250/\rCannot remove the directory $~ROMTMP250/: "
         "Device or resource busy",
         0, 0, 4, "Complete"},
        {"cancelled while moving in, after two files", cancelAt(7), true, "kept in:\r$~ROMTMP250/", 2, 2, 0,
         "Cancelled"},
        {"cancelled while moving out, after one file", cancelAt(10), true, "kept in:\r$~ROMTMP250/", 0, 3, 1,
         "Cancelled"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MoveScene s;
        s.files.renames = false;
        for (const char* name : {"a.vb", "b.vb", "c.vb"}) test::WriteKnown(s.dir.Path(), name, "Golf (U) [!]");
        test::WriteKnown(s.dir.Path(), "d.vb", "Red Alarm (J) [!]");
        s.before = FilesUnder(s.dir.Path());
        row.fault(s);
        s.collection.SetListingDirectory(s.dir.Path().string());
        s.collection.Run({.rename = true, .move = row.move});

        EXPECT_EQ(test::Contents(FilesUnder(s.dir.Path())), test::Contents(s.before));
        EXPECT_EQ(FilesIn(s.dir.Path()), row.inPlace);
        EXPECT_EQ(FilesIn(s.dir.Path() / "~ROMTMP250"), row.inTemporary);
        EXPECT_EQ(FilesIn(s.dir.Path() / "VBoyRen"), row.inVBoyRen);
        std::string told = row.told;
        for (std::size_t at = told.find('$'); at != std::string::npos; at = told.find('$', at))
            told.replace(at, 1, s.base);
        EXPECT_TRUE(Contains(s.host.Text("Files not moved"), told)) << s.host.Text("Files not moved");
        EXPECT_EQ(s.host.Titles().back(), row.last);
        EXPECT_FALSE(s.collection.Running());
        ASSERT_GE(s.host.steps.size(), 2u);
        EXPECT_EQ(s.host.steps[1], RunStep::ControlsRestored);
        EXPECT_EQ(s.host.steps.back(), RunStep::ProgressHidden);
    }
}

// The four reports' files end in their last CR (not CR LF); a file that
// cannot be written is named and leaves the report texts alone.
TEST(ListFilesTest, WrittenWithTheirEndingAndFailuresLeaveTheTextsAlone) {
    test::TempDir dir;
    test::FaultyFileOps files;
    Reports reports;
    base::Message saved = SaveListFiles(files, dir.Path().string(), reports, false);
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

// The rename never replaces a file, even one of the same name; across file
// systems it leaves the file alone and asks for a copy.
TEST(DiskRename, NeverReplacesAndLeavesOtherFileSystemsToTheCopy) {
    test::TempDir dir;
    DiskFileOps disk;
    test::WriteBytes(dir.File("a.vb"), {1});
    test::WriteBytes(dir.File("b.vb"), {2});
    std::string error;
    EXPECT_EQ(disk.RenameFile(dir.File("a.vb"), dir.File("b.vb"), false, error), FileOps::Renamed::Failed);
    EXPECT_EQ(error, "Cannot move " + dir.File("a.vb") + ": File exists");
    EXPECT_EQ(test::ReadBytes(dir.File("a.vb")), std::vector<std::uint8_t>{1});
    EXPECT_EQ(test::ReadBytes(dir.File("b.vb")), std::vector<std::uint8_t>{2});
    EXPECT_EQ(disk.RenameFile(dir.File("a.vb"), dir.File("c.vb"), false, error), FileOps::Renamed::Yes);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.vb")));

    // A link is moved by copying what it points to, never as a link.
    std::filesystem::create_symlink("b.vb", dir.File("link.vb"));
    EXPECT_EQ(disk.RenameFile(dir.File("link.vb"), dir.File("d.vb"), false, error), FileOps::Renamed::NeedsCopy);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.vb")));

    struct stat here {
    }, shm{};
    if (::stat(dir.Path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm to move onto";
    }
    const std::string away = "/dev/shm/kestro-rename-test-" + std::to_string(::getpid()) + ".vb";
    EXPECT_EQ(disk.RenameFile(dir.File("c.vb"), away, false, error), FileOps::Renamed::NeedsCopy);
    EXPECT_TRUE(std::filesystem::exists(dir.File("c.vb")));
    EXPECT_FALSE(std::filesystem::exists(away));
}
