// SPDX-License-Identifier: GPL-3.0-or-later
// Tiles out to indexed PNG pictures and back into the ROM: the codec, the
// pictures other programs write, and the viewer's export and import.
#include <QBuffer>
#include <random>

#include "support/gui/WindowChecks.h"
#include "tiles/TilePng.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

using platform::Q;

// A picture as another program writes it: Qt's PNG, without our text.
std::vector<std::uint8_t> PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

QImage Filled(int w, int h, QImage::Format format, unsigned fill, QPoint odd = {-1, -1}, unsigned oddFill = 0) {
    QImage image(w, h, format);
    if (format == QImage::Format_Indexed8) image.setColorTable(QList<QRgb>(5, qRgb(9, 9, 9)));
    image.fill(fill);
    if (odd.x() >= 0) image.setPixel(odd, oddFill);
    return image;
}

// Random ROMs, places and edits: edited pixels change exactly their own two bits.
TEST(TilePng, ExportThenImportChangesExactlyTheEditedPixels) {
    std::mt19937 random(24);
    for (int trial = 0; trial < 8; ++trial) {
        const auto rom = test::RomBuilder().Size(4096 + random() % 5000).Seed(random()).Build();
        const TileView view{static_cast<std::int64_t>(random() % 2000), static_cast<std::int64_t>(1 + random() % 60)};
        const TileBlock block = WholeRowsOf(view, static_cast<int>(1 + random() % 6), std::ssize(rom));
        ASSERT_GT(block.rows, 0);
        TilePixels pixels = ReadTiles(rom, block);
        const TilePlace place{"r.vb", block.offset, block.width};
        auto expected = rom;
        for (int k = 0; k < 3; ++k) {
            const int x = static_cast<int>(random() % pixels.width), y = static_cast<int>(random() % pixels.height);
            const auto v = static_cast<std::uint8_t>((pixels.At(x, y) + 1 + random() % 3) & 3);
            pixels.At(x, y) = v;
            const std::size_t at = block.offset + 16 * ((y / 8) * block.width + x / 8) + 2 * (y % 8) + (x % 8) / 4;
            const int shift = 2 * (x % 4);
            expected[at] = static_cast<std::uint8_t>((expected[at] & ~(3 << shift)) | (v << shift));
        }
        // The picture's own place counts, not the default given.
        auto edited = ImportTiles(rom, EncodeTilePng(pixels, kVbPalette, place), kVbPalette, {0, 1}, false);
        ASSERT_TRUE(std::holds_alternative<TileImport>(edited));
        EXPECT_EQ(std::get<TileImport>(edited).rom, expected) << "trial " << trial;
    }
}

TEST(TilePng, PicturesGoInByIndexOrExactColourAndAreRefusedWithThePixel) {
    const std::vector<std::uint8_t> rom(4096, 0);
    const auto rgb = QImage::Format_RGB32, indexed = QImage::Format_Indexed8;
    const auto grey = qRgb(128, 128, 128);
    const auto wide = PngOf(Filled(16, 8, rgb, grey));
    // The picture, where it goes, and the first byte written.
    const std::tuple<std::vector<std::uint8_t>, PlaceDefault, bool, std::uint8_t> accepted[] = {
        {PngOf(Filled(8, 8, indexed, 2)), {16, {}}, false, 0xAA},
        {wide, {32, 4}, false, 0x55},
        {PngOf(Filled(8, 8, rgb, qRgb(130, 120, 128))), {}, true, 0x55},  // the nearest colour, when asked
    };
    for (const auto& [png, place, nearest, byte] : accepted) {
        auto result = ImportTiles(rom, png, kGreyPreset, place, nearest);
        ASSERT_TRUE(std::holds_alternative<TileImport>(result)) << std::get<ImportRefusal>(result).reason;
        const auto& done = std::get<TileImport>(result);
        EXPECT_EQ(done.block.offset, place.offset);
        EXPECT_EQ(done.block.width, place.width.value_or(done.block.columns));
        EXPECT_EQ(done.rom[place.offset], byte);
        EXPECT_EQ(std::count(done.rom.begin(), done.rom.end(), 0), 4096 - done.changes.bytes);
    }
    const std::tuple<std::vector<std::uint8_t>, PlaceDefault, std::string> refused[] = {
        {PngOf(Filled(8, 8, indexed, 2, {3, 5}, 4)), {}, "Pixel (3, 5) has the palette index 4; tiles take only 0 to 3."},
        {PngOf(Filled(8, 8, QImage::Format_Grayscale8, 0)), {},
         "Pixel (0, 0) has the colour 0,0,0, which is in no entry of the palette."},
        {PngOf(Filled(8, 8, rgb, grey, {1, 2}, qRgb(200, 190, 180))), {},
         "Pixel (1, 2) has the colour 200,190,180, which is in no entry of the palette."},
        {PngOf(Filled(12, 8, rgb, grey)), {}, "The picture is 12 x 8 pixels, not a whole number of 8 x 8 tiles."},
        {wide, {4080, {}},
         "At offset 4080, width 2, its tiles would reach byte 4112, past the end of the ROM (4096 bytes)."},
        {wide, {0, 1}, "The picture is 2 tiles wide; a row of width 1 holds fewer."},
        {{'B', 'M', 0, 0, 0, 0, 0, 0, 0}, {}, "It is not a PNG picture."},
    };
    for (const auto& [png, place, reason] : refused) {
        auto result = ImportTiles(rom, png, kGreyPreset, place, false);
        ASSERT_TRUE(std::holds_alternative<ImportRefusal>(result)) << reason;
        EXPECT_EQ(std::get<ImportRefusal>(result).reason, reason);
        EXPECT_EQ(std::get<ImportRefusal>(result).colourOutsidePalette, reason.find("colour") != std::string::npos);
    }
}

// Through the window: export, edit the picture, import, see it, save it
// under a new name; the original stays as it was.
TEST_F(TileViewerTest, EditedPictureComesBackMarkedAndIsSavedAsANewRom) {
    const std::string path = MakeRom("flow.vb", 65536, 9);
    Open(path);
    Goto("cmdGotoOffset", "32");
    t.files.Choose(Q(dir.File("view.png")));
    Trigger("mnuFileSavePng");
    test::TakeOne(t.messages);
    QImage picture(Q(dir.File("view.png")));
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);

    // Pixel (9, 1) is in the second tile, bits 2-3 of its row's first byte.
    const int was = picture.pixelIndex(9, 1);
    picture.setPixel(9, 1, (was + 1) & 3);
    ASSERT_TRUE(picture.save(Q(dir.File("edited.png"))));
    Goto("cmdGotoOffset", "0");  // the picture knows its place
    t.files.Choose(Q(dir.File("edited.png")));
    t.files.Choose(Q(dir.File("new.vb")));
    Trigger("mnuFileImportPng");
    EXPECT_EQ(t.files.StartNames().back(), QStringLiteral("flow-edited.vb"));
    const auto shown = t.messages.Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "01 tiles (01 bytes) changed.\rMarked in the view; save the new ROM next.");
    EXPECT_EQ(shown[1].text, "ROM saved to file:\r" + dir.File("new.vb"));
    EXPECT_EQ(Surface().pixel(8, 0), qRgb(255, 255, 0));  // the changed tile's mark, where the picture came from

    auto expected = roms[path];
    expected[32 + 16 + 2] = static_cast<std::uint8_t>((expected[50] & ~0x0C) | (((was + 1) & 3) << 2));
    EXPECT_EQ(test::ReadBytes(dir.File("new.vb")), expected);
    EXPECT_EQ(test::ReadBytes(path), roms[path]);

    // The same picture again changes nothing, and nothing is saved; a colour
    // in no entry is asked about, No being the answer that stops it.
    t.files.Choose(Q(dir.File("edited.png")));
    Trigger("mnuFileImportPng");
    EXPECT_EQ(test::TakeOne(t.messages).text, "00 tiles (00 bytes) changed.\rThe ROM stays as it is.");
    Filled(8, 8, QImage::Format_RGB32, qRgb(1, 2, 3)).save(Q(dir.File("odd.png")));
    t.files.Choose(Q(dir.File("odd.png")));
    t.messages.Answer(base::MessageResult::No);
    Trigger("mnuFileImportPng");
    const base::Message question = test::TakeOne(t.messages);
    EXPECT_EQ(question.defaultButton, base::MessageResult::No);
    EXPECT_EQ(test::ReadBytes(dir.File("new.vb")), expected);
}

}  // namespace
}  // namespace kestro::tiles
