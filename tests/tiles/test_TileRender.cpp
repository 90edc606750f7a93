// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding bytes into pixels and laying tiles out in the view.
#include <gtest/gtest.h>

#include <vector>

#include "support/core/RomBuilder.h"
#include "tiles/TileRender.h"

namespace kestro::tiles {
namespace {

// Distinct colours per pixel value, so every check sees which value was drawn.
constexpr TilePalette kTestPalette{{{{250, 1, 2}, {180, 3, 4}, {110, 5, 6}, {40, 7, 8}}}};
constexpr Rgb kClear{0, 128, 128};

// The colour a view pixel should have, worked out pixel by pixel from the
// tile format (a row's first byte is its left half, each byte's lowest bit
// pair its leftmost pixel): a different route from the renderer's.
std::uint32_t Expected(const std::vector<std::uint8_t>& rom, std::int64_t offset, std::int64_t width, int x, int y) {
    const int column = x / 8, row = y / 8, line = y % 8, half = (x % 8) / 4, j = x % 4;
    if (column >= std::min<std::int64_t>(width, 48)) return PixelWord(kClear);
    const std::int64_t index = offset + 16 * (row * width + column) + 2 * line + half;
    if (index >= static_cast<std::int64_t>(rom.size())) return PixelWord(kClear);
    return PixelWord(kTestPalette.ForPixel((rom[static_cast<std::size_t>(index)] >> (2 * j)) & 3));
}

void ExpectView(const std::vector<std::uint8_t>& rom, std::int64_t offset, std::int64_t width) {
    PixelImage image(384, 224, Rgb{9, 9, 9});  // a previous view's pixels are all replaced
    ASSERT_TRUE(RenderView(rom, {offset, width}, kTestPalette, kClear, image));
    ASSERT_EQ(image.width, 384);
    ASSERT_EQ(image.height, 224);
    int wrong = 0;
    for (int y = 0; y < 224; ++y) {
        for (int x = 0; x < 384; ++x) {
            if (image.At(x, y) != Expected(rom, offset, width, x, y) && ++wrong <= 3) {
                ADD_FAILURE() << "offset " << offset << " width " << width << ": pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Every byte value's decoding is checked by the views below, against the
// pixel-by-pixel route above.
TEST(TileRender, WidthsOffsetsAndTheRomsEnd) {
    // Pixel value 3 is colour 1, the lightest; 0 is colour 4.
    EXPECT_EQ(kVbPalette.ForPixel(3), (Rgb{255, 0, 0}));
    const auto rom = test::RomBuilder()
                         .Size(64 * 1024 + 5)
                         .Seed(1)
                         .Build();             // ends 5 bytes into a tile: its first two rows and a half
    ExpectView(rom, 0, 48);                    // 28 rows of 48 read contiguously
    ExpectView(rom, 0, 1);                     // one column of 28 tiles
    ExpectView(rom, 1000, 3000);               // far wider than shown: the rest of each row skipped
    ExpectView(rom, 5, 48);                    // no alignment to whole tiles
    ExpectView(rom, 64 * 1024 - 48 * 16, 48);  // the view runs over the end

    // An offset past the end is pulled back to it, and nothing is drawn.
    EXPECT_EQ(PulledBackOffset(5000, 1000), 1000);
    EXPECT_EQ(PulledBackOffset(999, 1000), 999);
    PixelImage image;
    RenderView(test::RomBuilder().Size(1000).Seed(2).Build(), {PulledBackOffset(5000, 1000), 48}, kTestPalette, kClear,
               image);
    EXPECT_EQ(image, PixelImage(384, 224, kClear));
}

}  // namespace
}  // namespace kestro::tiles
