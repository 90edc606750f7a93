// kestro tiles writes the very picture the tile viewer shows.
#include <QLineEdit>

#include "cli/CliRun.h"
#include "tiles/PaletteFile.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

TEST_F(TileViewerTest, KestroTilesWritesWhatTheWindowShows) {
    const TilePalette custom{{{{250, 240, 10}, {30, 200, 90}, {0, 60, 200}, {20, 0, 30}}}};
    ASSERT_TRUE(WritePaletteFile(dir.File("mine.pvb"), custom));
    WriteTilePalette(t.settings, custom);
    const std::string path = MakeRom("odd.vb", 70000 + 7);  // ends 7 bytes into a tile
    Open(path);
    test::WhenModalShown([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("txtGoto"))->setText(QStringLiteral("69003"));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdGoto"))->click();
    });
    Click("cmdGotoOffset");  // unaligned, and the view runs over the ROM's end
    Click("cmdTileDouble");  // 96 tiles a row, 48 shown
    Click("cmdUpdate");
    const QImage shown = Surface().copy();

    const std::string bmp = dir.File("cli.bmp"), png = dir.File("cli.PNG");
    for (const std::string& out : {bmp, png}) {
        auto run = test::RunKestro(
            {"tiles", path, "--out", out, "--offset", "69003", "--width", "96", "--palette", dir.File("mine.pvb")});
        EXPECT_EQ(run.status, 0) << run.err;
    }
    EXPECT_EQ(QImage(platform::Q(bmp), "BMP").convertToFormat(QImage::Format_RGB32), shown);
    EXPECT_EQ(QImage(platform::Q(png), "PNG").convertToFormat(QImage::Format_RGB32), shown);
    EXPECT_NE(shown.pixel(0, 0), shown.pixel(383, 223));  // something was drawn, and the end left clear

    // Saving from the window gives the same file, byte for byte.
    t.files.Choose(platform::Q(dir.File("window.bmp")));
    Trigger("mnuEditSave");
    EXPECT_EQ(test::ReadBytes(dir.File("window.bmp")), test::ReadBytes(bmp));
}

}  // namespace
}  // namespace kestro::tiles
