// SPDX-License-Identifier: GPL-3.0-or-later
// Special files where the program expects a regular one: a FIFO or a device
// is never replaced by a write and never waited on by a read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>

#include "base/AtomicFile.h"
#include "base/FileRead.h"
#include "support/core/RomBuilder.h"
#include "support/core/SpecialFiles.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

namespace fs = std::filesystem;

TEST(AtomicWriter, RefusesToReplaceAFifoADeviceOrADirectory) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.bmp");
    ASSERT_TRUE(MakeFifo(fifo));
    auto written = base::WriteFileAtomically(fifo, std::string("BM"));
    EXPECT_FALSE(written);
    EXPECT_EQ(written.reason, "Cannot write " + fifo + ": it is not a regular file (a directory, pipe or device)");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    // A link to the FIFO is followed, and refused as well; the link stays.
    fs::create_symlink(fifo, dir.File("link.bmp"));
    EXPECT_FALSE(base::WriteFileAtomically(dir.File("link.bmp"), std::string("BM")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.bmp")));

    fs::create_directory(dir.File("folder.bmp"));
    EXPECT_FALSE(base::WriteFileAtomically(dir.File("folder.bmp"), std::string("BM")));
    EXPECT_TRUE(fs::is_directory(dir.File("folder.bmp")));
    // Nothing half-written is left beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);

    const std::string device = dir.File("null");
    if (!MakeNullDevice(device)) GTEST_SKIP() << "making a device node needs root; the FIFO case was checked";
    EXPECT_FALSE(base::WriteFileAtomically(device, std::string("BM")));
    EXPECT_TRUE(fs::is_character_file(device));
}

TEST(RegularFileRead, RefusesAFifoAtOnceAndReadsFilesUpToTheLimit) {
    TempDir dir;
    const std::string fifo = dir.File("palette.pvb");
    ASSERT_TRUE(MakeFifo(fifo));
    base::ReadResult read;
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReturnsPromptly([&] { read = base::ReadRegularFile(fifo, bytes); }, fifo));
    EXPECT_EQ(read.status, base::ReadStatus::NotAFile);

    EXPECT_EQ(base::ReadRegularFile(dir.File("none"), bytes).status, base::ReadStatus::Missing);
    WriteBytes(dir.File("f"), {1, 2, 3, 4, 5});
    EXPECT_TRUE(base::ReadRegularFile(dir.File("f"), bytes, 3));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace kestro::test
