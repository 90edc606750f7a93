#include <gtest/gtest.h>

#include "romdb/Listing.h"
#include "romdb/RomScan.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::romdb;

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

// The runs' progress lists never land on a half; these do.
TEST(Listing, ProgressRoundsHalvesToEven) {
    EXPECT_EQ(RoundPercent(2.5), 2);
    EXPECT_EQ(RoundPercent(3.5), 4);
    EXPECT_EQ(ProgressAt(0, 100, 1, 8), 12);
    EXPECT_EQ(ProgressAt(25, 25, 1, 2), 38);  // 37.5 goes to the even 38
    EXPECT_EQ(ProgressAt(75, 25, 0, 0), 75);
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
    EXPECT_EQ(scan.header.substr(0, 4), "GOLF");
    EXPECT_EQ(HeaderFromDigits(HeaderDigits(scan.header)), scan.header);
    EXPECT_EQ(HeaderDigits(std::string("A\0\xFF", 3)), "065000255");
    EXPECT_EQ(buffer.size(), kReadChunkSize);

    test::WriteBytes(dir.File("545.vb"), std::vector<std::uint8_t>(545, 0));
    EXPECT_TRUE(ScanRomFile(disk, dir.File("545.vb"), buffer).Valid());
    test::WriteBytes(dir.File("544.vb"), std::vector<std::uint8_t>(544, 0));
    EXPECT_EQ(ScanRomFile(disk, dir.File("544.vb"), buffer).result, RomScan::Result::TooSmall);
    EXPECT_EQ(ScanRomFile(disk, dir.File("gone.vb"), buffer).result, RomScan::Result::Unreadable);
}
