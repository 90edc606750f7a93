// SPDX-License-Identifier: GPL-3.0-or-later
// kestro tiles: its options, standard output and special files; the picture is the viewer's test.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/core/RomBuilder.h"
#include "support/core/SpecialFiles.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

// Every numeric option refuses what it cannot take in one line that says
// what it takes; hexadecimal is written with 0x.
TEST(TilesCommand, NumbersAndNamesAreCheckedInOneLine) {
    TempDir dir;
    const std::string rom = dir.File("ok.vb");
    RomBuilder().Size(4096).WriteTo(rom);
    const std::string out = dir.File("a.bmp");
    const std::string offsetTakes = "is not a whole number 0 or more (decimal, or hexadecimal after 0x).\n";
    for (const char* bad : {"-1", "abc", "99999999999999999999999", "0x", "1e3", " 5"}) {
        auto run = RunKestro({"tiles", rom, "--out", out, "--offset", bad});
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(run.err, "kestro tiles: --offset: \"" + std::string(bad) + "\" " + offsetTakes);
    }
    WriteBytes(dir.File("small.vb"), std::vector<std::uint8_t>(544, 0));  // refused after reading: no picture either
    EXPECT_EQ(RunKestro({"tiles", dir.File("small.vb"), "--out", out}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));

    auto hex = RunKestro({"tiles", rom, "--out", out, "--offset", "0x200", "--width", "0X10"});
    ASSERT_EQ(hex.status, 0) << hex.err;
    EXPECT_EQ(hex.out, "Wrote " + out + ": offset 512, width 16.\n");
}

// "-" writes the bitmap alone to standard output; a FIFO named as the
// picture or the palette is refused at once and left as it was.
TEST(TilesCommand, StandardOutputAndSpecialFiles) {
    TempDir dir;
    const std::string rom = dir.File("ok.vb");
    RomBuilder().Size(4096).WriteTo(rom);
    auto piped = RunKestro({"tiles", rom, "--out", "-"});
    ASSERT_EQ(piped.status, 0) << piped.err;
    ASSERT_EQ(piped.out.size(), 54u + 384 * 224 * 3);
    EXPECT_EQ(piped.out.substr(0, 2), "BM");

    const std::string fifo = dir.File("pipe");
    ASSERT_TRUE(MakeFifo(fifo));
    auto toFifo = RunKestro({"tiles", rom, "--out", fifo});
    EXPECT_EQ(toFifo.status, 1);
    EXPECT_EQ(toFifo.err,
              "kestro tiles: Cannot write " + fifo + ": it is not a regular file (a directory, pipe or device)\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    CliResult fromFifo;
    EXPECT_TRUE(ReturnsPromptly([&] { fromFifo = RunKestro({"tiles", rom, "--out", "-", "--palette", fifo}); }, fifo));
    EXPECT_EQ(fromFifo.status, 1);
    EXPECT_EQ(fromFifo.err, "kestro tiles: " + fifo + ": Cannot read palette: The palette file could not be read: " +
                                fifo + " it is not a regular file (a directory, pipe or device)\n");
}

}  // namespace
}  // namespace kestro::test
