// SPDX-License-Identifier: GPL-3.0-or-later
// Identifying the renamed files again: what the run read of a file is used
// again only while the file is the one it read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "romdb/RomDbFixtures.h"

using namespace kestro;
using namespace kestro::romdb;

namespace {

// The disk, counting the files opened and changing one just before it is
// renamed; renames go through the temporary directory, as the designed way does.
class WatchedDisk final : public DiskFileOps {
public:
    std::unique_ptr<InputFile> OpenRead(const std::string& p, std::string& error) override {
        ++opened[p];
        return DiskFileOps::OpenRead(p, error);
    }
    Renamed RenameFile(const std::string& from, const std::string& to, bool replace, std::string& error) override {
        if (beforeRename) beforeRename(from);
        return DiskFileOps::RenameFile(from, to, replace, error);
    }
    bool RenamesInPlace() const override { return false; }

    std::map<std::string, int> opened;
    std::function<void(const std::string& from)> beforeRename;
};

class RenameReuseTest : public test::CollectionTest {
protected:
    WatchedDisk disk;
    Collection watched{disk, host, [] { return 0.25; }};
};

}  // namespace

// b.vb, a Golf dump, is overwritten in place with a Red Alarm dump of the
// same size just before a.vb (a Red Alarm) is renamed: before b.vb's own
// rename, or after its move into VBoyRen; its modification time put back or not.
TEST_F(RenameReuseTest, OnlyFilesChangedSinceTheyWereReadAreReadAgain) {
    const std::string golf = "VBoyRen/Golf (U) [!].vb";
    const struct {
        std::string when;  // the source whose rename comes just after the change
        std::string changed;
        bool timeKept;
    } cases[] = {{"", "", false},
                 {"a.vb", "b.vb", false},
                 {"a.vb", "b.vb", true},
                 {"~ROMTMP250/Red Alarm (J) [!].vb", golf, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when + " " + c.changed);
        std::filesystem::remove_all(dir.Path());
        std::filesystem::create_directory(dir.Path());
        test::WriteKnown(dir.Path(), "a.vb", "Red Alarm (J) [!]");
        test::WriteKnown(dir.Path(), "b.vb", "Golf (U) [!]");
        struct stat info {};
        ::stat(dir.File("b.vb").c_str(), &info);
        if (info.st_ctim.tv_nsec == 0) GTEST_SKIP() << "change times here are whole seconds";
        // At rest: a file changed a moment ago is always read again.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        disk.opened.clear();
        disk.beforeRename = [&](const std::string& from) {
            if (c.when.empty() || from != Base() + c.when) return;
            const auto alarm = test::RomBuilder::KnownDump("Red Alarm (J) [!]").Size(info.st_size).Build();
            std::FILE* f = std::fopen((Base() + c.changed).c_str(), "r+b");
            std::fwrite(alarm.data(), 1, alarm.size(), f);
            std::fclose(f);
            const timespec times[2] = {info.st_atim, info.st_mtim};  // as at rest
            if (c.timeKept) ::utimensat(AT_FDCWD, (Base() + c.changed).c_str(), times, 0);
        };
        watched.SetListingDirectory(dir.Path().string());
        watched.Run({.rename = true, .move = true});

        EXPECT_EQ(disk.opened[Base() + golf], c.when.empty() ? 0 : 1);
        EXPECT_EQ(disk.opened[Base() + "VBoyRen/Red Alarm (J) [!].vb"], 0);
        ASSERT_EQ(watched.Rows().size(), 2u);
        EXPECT_EQ(watched.Rows()[0].identified, c.when.empty() ? "Golf (U) [!]" : "Red Alarm (J) [!]");

        // What was used again is what reading the files gives.
        Collection reading{files, host, [] { return 0.25; }};
        reading.SetListingDirectory(Base() + "VBoyRen");
        reading.Run({});
        for (std::size_t i = 0; i < 2; ++i) {
            const FileRow &a = watched.Rows()[i], &b = reading.Rows()[i];
            EXPECT_EQ(std::tie(a.displayLine, a.size, a.header, a.checksum, a.identified),
                      std::tie(b.displayLine, b.size, b.header, b.checksum, b.identified));
        }
    }
}

// Straight to the final name in one rename where it can, the run ends as
// through the temporary directory: the same files under the same names, the
// same log, messages and progress; also cancelled while moving in.
TEST(OneRename, EndsAsTheWayThroughTheTemporaryDirectory) {
    using Dir = const std::filesystem::path&;
    const struct {
        const char* what;
        bool move;
        int cancelAt;  // events before the cancel; 0 for none
        std::function<void(Dir)> write;
    } cases[] = {
        {"swapped names", false, 0,
         [](Dir d) {
             test::WriteKnown(d, "a.vb", "Golf (U) [!]");
             test::WriteKnown(d, "Golf (U) [!].vb", "Red Alarm (J) [!]");
             test::WriteKnown(d, "Red Alarm (J) [!].vb", "Golf (U) [!]", 2);
         }},
        {"name held by a file that stays", false, 0,
         [](Dir d) {
             test::RomBuilder::Unknown().WriteTo((d / "Golf (U) [!].vb").string());
             test::WriteKnown(d, "a.vb", "Golf (U) [!]");
         }},
        {"VBoyRen holds the name", true, 0,
         [](Dir d) {
             std::filesystem::create_directory(d / "VBoyRen");
             test::WriteKnown(d / "VBoyRen", "Golf (U) [!].vb", "Golf (U) [!]", 3);
             test::WriteKnown(d, "a.vb", "Golf (U) [!]", 3);
             test::WriteKnown(d, "b.vb", "Golf (U) [!]", 4);
         }},
        {"cancelled", true, 5,
         [](Dir d) {
             for (const char* name : {"a.vb", "b.vb", "c.vb"}) test::WriteKnown(d, name, "Golf (U) [!]");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dirs[2];
        DiskFileOps disk;  // renames in place
        test::FaultyFileOps designed;
        test::RecordingHost hosts[2];
        std::string logs[2];
        for (int k = 0; k < 2; ++k) {
            c.write(dirs[k].Path());
            Collection collection{k == 0 ? static_cast<FileOps&>(disk) : designed, hosts[k], [] { return 0.25; }};
            hosts[k].onEvents = [&](int events) {
                if (events == c.cancelAt) collection.RequestCancel();
            };
            collection.SetListingDirectory(dirs[k].Path().string());
            collection.Run({.rename = true, .move = c.move});
            logs[k] = collection.reports().log();
            for (std::size_t at; (at = logs[k].find(dirs[k].Path().string())) != std::string::npos;)
                logs[k].replace(at, dirs[k].Path().string().size(), "D");
        }
        EXPECT_EQ(test::FilesUnder(dirs[0].Path()), test::FilesUnder(dirs[1].Path()));
        EXPECT_EQ(logs[0], logs[1]);
        EXPECT_EQ(hosts[0].Titles(), hosts[1].Titles());
        EXPECT_EQ(hosts[0].progress, hosts[1].progress);
    }
}
