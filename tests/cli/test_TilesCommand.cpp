// kestro tiles: refusals, and the viewer's default colours.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

TEST(TilesCommand, DrawsInTheViewersDefaultColoursOnTheClearedSurface) {
    TempDir dir;
    const std::string rom = dir.File("white.vb");
    std::vector<std::uint8_t> bytes(4096, 0);  // a tile of pixel value 3, then tiles of 0
    std::fill_n(bytes.begin(), 16, 0xFF);
    WriteBytes(rom, bytes);
    auto run = RunKestro({"tiles", rom, "--out", dir.File("v.bmp"), "--width", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto bmp = ReadBytes(dir.File("v.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 384 * 224 * 3);
    // Rows are stored bottom up, blue first: the top row starts at the last stored row.
    auto pixel = [&](int x, int y) {
        const std::size_t at = 54 + static_cast<std::size_t>(223 - y) * 384 * 3 + static_cast<std::size_t>(x) * 3;
        return std::vector<int>{bmp[at + 2], bmp[at + 1], bmp[at]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{255, 0, 0}));     // pixel value 3
    EXPECT_EQ(pixel(8, 7), (std::vector<int>{64, 0, 0}));      // pixel value 0
    EXPECT_EQ(pixel(16, 0), (std::vector<int>{0, 128, 128}));  // beyond the width: never drawn
}

TEST(TilesCommand, RefusesWhatTheWindowsRefuse) {
    TempDir dir;
    WriteBytes(dir.File("small.vb"), std::vector<std::uint8_t>(544, 0));
    auto small = RunKestro({"tiles", dir.File("small.vb"), "--out", dir.File("a.bmp")});
    EXPECT_EQ(small.status, 1);
    EXPECT_NE(small.err.find("Invalid VB ROM: File too small to be a VB ROM image."), std::string::npos);

    const std::string rom = dir.File("ok.vb");
    RomBuilder().Size(4096).WriteTo(rom);
    WriteBytes(dir.File("x.pvb"), {'P', 'A', 'X', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    auto palette = RunKestro({"tiles", rom, "--out", dir.File("a.bmp"), "--palette", dir.File("x.pvb")});
    EXPECT_EQ(palette.status, 1);
    EXPECT_NE(palette.err.find("Invalid Kestro palette: File is not a Kestro palette file."), std::string::npos);

    EXPECT_EQ(RunKestro({"tiles", rom, "--out", dir.File("a.bmp"), "--width", "0"}).status, 2);
    EXPECT_EQ(RunKestro({"tiles", rom, "--out", dir.File("a.bmp"), "--offset", "-1"}).status, 2);
    EXPECT_EQ(RunKestro({"tiles", rom, "--out", dir.File("gone/a.bmp")}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.bmp")));
}

}  // namespace
}  // namespace kestro::test
