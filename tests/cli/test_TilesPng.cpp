// SPDX-License-Identifier: GPL-3.0-or-later
// kestro tiles out to a PNG picture and back in with --import.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "tiles/TilePng.h"

namespace kestro::test {
namespace {

TEST(TilesPng, ExportsImportsAndRefusesBeforeWriting) {
    TempDir dir;
    const std::string rom = dir.File("game.vb"), png = dir.File("view.png"), out = dir.File("new.vb");
    auto bytes = RomBuilder().Size(65536).Seed(5).Build();
    std::fill_n(bytes.begin(), 128, 0);  // where the plain picture goes: every byte of it a change
    WriteBytes(rom, bytes);
    auto exported = RunKestro({"tiles", rom, "--out", png, "--offset", "0x100", "--width", "16", "--rows", "3"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "Wrote " + png + ": offset 256, width 16, 16 x 3 tiles.\n");
    auto back = RunKestro({"tiles", rom, "--import", png, "--out", out, "--offset", "9"});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, "Wrote " + out + ": 00 tiles (00 bytes) changed at offset 256, width 16.\n");
    EXPECT_EQ(ReadBytes(out), bytes);

    // A picture that records no place goes where the options say.
    const std::string plain = dir.File("plain.png");
    WriteBytes(plain, tiles::EncodeTilePng({8, 16, std::vector<std::uint8_t>(128, 1)}, tiles::kVbPalette, {}));
    auto placed = RunKestro({"tiles", rom, "--import", plain, "--out", out, "--offset", "16", "--width", "3"});
    EXPECT_EQ(placed.out, "Wrote " + out + ": 02 tiles (32 bytes) changed at offset 16, width 3.\n");
    auto expected = bytes;
    std::fill_n(expected.begin() + 16, 16, 0x55);  // the second row starts three tiles after the first
    std::fill_n(expected.begin() + 64, 16, 0x55);
    EXPECT_EQ(ReadBytes(out), expected);

    std::filesystem::remove(out);
    auto past = RunKestro({"tiles", rom, "--import", plain, "--out", out, "--offset", "65530"});
    EXPECT_EQ(past.status, 1);
    EXPECT_EQ(past.err, "kestro tiles: " + plain +
                            ": At offset 65530, width 1, its tiles would reach byte 65562, past the end of the ROM "
                            "(65536 bytes).\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kestro::test
