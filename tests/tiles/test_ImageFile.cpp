// The bitmap and PNG files a view is saved as.
#include <gtest/gtest.h>

#include "tiles/ImageFile.h"

namespace kestro::tiles {
namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

PixelImage MarkedImage() {
    PixelImage image(384, 224, kSurfaceColour);
    image.pixels[0] = PixelWord({1, 2, 3});                     // top left
    image.pixels[223 * 384 + 383] = PixelWord({200, 100, 50});  // bottom right
    return image;
}

TEST(ImageFile, BitmapIs24BitBottomUp) {
    const auto bmp = EncodeBmp(MarkedImage());
    ASSERT_EQ(bmp.size(), 54u + 384 * 224 * 3);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 10), 54u);  // pixels follow the two headers
    EXPECT_EQ(Le32(bmp, 18), 384u);
    EXPECT_EQ(Le32(bmp, 22), 224u);
    EXPECT_EQ(bmp[28], 24);
    // The first row stored is the bottom one; colours are blue, green, red.
    const std::size_t bottomRight = 54 + 383 * 3;
    EXPECT_EQ((std::vector<std::uint8_t>(bmp.begin() + bottomRight, bmp.begin() + bottomRight + 3)),
              (std::vector<std::uint8_t>{50, 100, 200}));
    const std::size_t topLeft = 54 + 223 * 384 * 3;
    EXPECT_EQ((std::vector<std::uint8_t>(bmp.begin() + topLeft, bmp.begin() + topLeft + 6)),
              (std::vector<std::uint8_t>{3, 2, 1, 128, 128, 0}));
}

TEST(ImageFile, PngHasItsSignatureHeaderAndChecksums) {
    const auto png = EncodePng(MarkedImage());
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ((std::vector<std::uint8_t>(png.begin(), png.begin() + 8)),
              (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
    EXPECT_EQ(Be32(png, 8), 13u);
    EXPECT_EQ(Be32(png, 16), 384u);
    EXPECT_EQ(Be32(png, 20), 224u);
    EXPECT_EQ(png[24], 8);  // bits per sample
    EXPECT_EQ(png[25], 2);  // RGB
    // Every PNG ends in the same empty IEND chunk and its CRC.
    EXPECT_EQ((std::vector<std::uint8_t>(png.end() - 12, png.end())),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
}

TEST(ImageFile, FormatFollowsTheNamesEnding) {
    EXPECT_EQ(FormatForPath("view.png"), ImageFormat::Png);
    EXPECT_EQ(FormatForPath("/tmp/VIEW.PNG"), ImageFormat::Png);
    EXPECT_EQ(FormatForPath("view.bmp"), ImageFormat::Bmp);
    EXPECT_EQ(FormatForPath("view.png.bmp"), ImageFormat::Bmp);
    EXPECT_EQ(FormatForPath("png"), ImageFormat::Bmp);
}

}  // namespace
}  // namespace kestro::tiles
