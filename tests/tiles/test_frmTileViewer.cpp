// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer window: opening ROMs, navigation, goto, palettes, recent files.
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <filesystem>

#include "cli/CliRun.h"
#include "support/gui/WindowChecks.h"
#include "tiles/PaletteFile.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

using platform::Q;

TEST_F(TileViewerTest, OpensEmptyThenARomEnablesTheViewAndUpdateDrawsIt) {
    t.settings.Write("Tile Display Mode", "1");
    t.settings.Write("Black Tile Green", "99");
    EXPECT_EQ(test::Enabled(&Viewer(), {"optDspMode_1", "chkAutoUpdate"}), "00");
    EXPECT_EQ(t.settings.Values().at("Tile Display Mode"), "0");  // written at every load
    for (const char* name : kNavigation) EXPECT_FALSE(Button(name)->isEnabled()) << name;

    const std::string path = MakeRom("game.vb", 65536, 3, "\xC4\xCB\xDE");
    Open(path);
    EXPECT_EQ(Viewer().windowTitle(), QStringLiteral("ROM Tile Viewer - [Tobi]"));
    for (const char* name : kNavigation) EXPECT_TRUE(Button(name)->isEnabled()) << name;
    EXPECT_EQ(Surface().pixel(100, 100), qRgb(0, 128, 128));  // cleared, not drawn: auto-update is off

    Click("cmdUpdate");
    EXPECT_EQ(Surface(), Expected(path, 0, 48, ReadTilePalette(t.settings, kVbPalette)));  // the stored colours
}

TEST_F(TileViewerTest, ButtonsPageThroughTheRomWithinItsBounds) {
    const std::string path = MakeRom("nav.vb", 4096);
    Open(path);
    // Button, clicks, and the offset and width after them; a page down from 0
    // (16 x 48 x 28) is past the end, so it stops a tile before it.
    const std::tuple<const char*, int, const char*> steps[] = {
        {"cmdOffsetDown", 1, "0 48"},      {"cmdPageDown", 1, "4080 48"},   {"cmdOffsetUp", 20, "4095 48"},
        {"cmdOffsetUpTile", 1, "4080 48"}, {"cmdUp", 1, "3312 48"},         {"cmdTileHalf", 2, "3312 12"},
        {"cmdTileLeft", 1, "3312 11"},     {"cmdTileDouble", 1, "3312 22"}, {"cmdPageUp", 1, "0 22"}};
    for (auto [button, clicks, view] : steps) {
        for (int i = 0; i < clicks; ++i) Click(button);
        EXPECT_EQ(Text("lblOffset") + QLatin1Char(' ') + Text("lblWidth"), QString::fromLatin1(view)) << button;
    }

    // With auto-update every step redraws at once.
    Find<QCheckBox>("chkAutoUpdate")->click();
    EXPECT_EQ(t.settings.Values().at("AutoUpdate Viewer"), "True");
    EXPECT_FALSE(Button("cmdUpdate")->isEnabled());
    Click("cmdTileRight");
    EXPECT_EQ(Surface(), Expected(path, 0, 23));
}

TEST_F(TileViewerTest, ColoursAppliedInThePaletteWindowRedrawTheView) {
    t.settings.Write("AutoUpdate Viewer", "True");
    const std::string path = MakeRom("pal.vb", 32768);
    Open(path);
    test::WhenModalShown([](QWidget* palette) {
        palette->findChild<QLineEdit*>(QStringLiteral("txtCol1R"))->setText(QStringLiteral("90"));
        palette->findChild<QPushButton*>(QStringLiteral("cmdApply"))->click();
    });
    Click("cmdChangePalette");
    TilePalette applied = kPaletteWindowDefaults;
    applied.colours[0].red = 90;  // the window opens on its grey defaults
    EXPECT_EQ(Surface(), Expected(path, 0, 48, applied));
}

TEST_F(TileViewerTest, RefusedFilesAndRecentFiles) {
    const std::string good = MakeRom("good.vb", 4096);
    test::WriteBytes(dir.File("small.vb"), std::vector<std::uint8_t>(544, 0));
    Open(good);
    t.settings.Write("Recent ROM #2", dir.File("small.vb"));
    m_viewer.reset();  // reopen the window to see the list as stored
    ASSERT_TRUE(Find<QAction>("mnuFileRecent1")->isVisible());
    Trigger("mnuFileRecent1");
    EXPECT_EQ(test::TakeOne(t.messages).text, "File too small to be a VB ROM image.");
    EXPECT_EQ(t.settings.Values().at("Recent ROM #2"), "");  // the refused path left the list
    Trigger("mnuFileRecent0");  // the good ROM again

    std::filesystem::remove(good);  // a recent file that has gone leaves quietly
    Trigger("mnuFileRecent0");
    EXPECT_TRUE(t.messages.Shown().empty());
    EXPECT_EQ(t.settings.Values().at("Recent ROM #1"), "");
    EXPECT_FALSE(Find<QMenu>("mnuFileRecent")->menuAction()->isVisible());

    t.files.Choose(QString());  // cancelling the open dialog leaves the view as it was
    Trigger("mnuFileOpen");
    EXPECT_EQ(Text("lblFileName"), Q(good));
}

TEST_F(TileViewerTest, KeysTypedOnTheSurfaceEnterAndHelp) {
    // Enter must not press a navigation button the user never chose.
    for (QPushButton* button : Viewer().findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();
    QTest::keyClick(Find<platform::DrawingSurface>("picTileViewer"), Qt::Key_A);
    EXPECT_EQ(test::TakeOne(t.messages).text, "97");
    auto help = test::WhenHelpShown();
    Trigger("mnuHelpHelp");
    EXPECT_EQ(help->caption, QStringLiteral("ROM Tile Viewer Help"));
}

// kestro tiles writes the very picture the tile viewer shows.
TEST_F(TileViewerTest, KestroTilesWritesWhatTheWindowShows) {
    const TilePalette custom{{{{250, 240, 10}, {30, 200, 90}, {0, 60, 200}, {20, 0, 30}}}};
    ASSERT_TRUE(WritePaletteFile(dir.File("mine.pvb"), custom));
    WriteTilePalette(t.settings, custom);
    const std::string path = MakeRom("odd.vb", 70000 + 7);  // ends 7 bytes into a tile
    Open(path);
    Goto("cmdGotoOffset", "0x10D8B");  // 69003: unaligned, and the view runs over the ROM's end
    Click("cmdTileDouble");            // 96 tiles a row, 48 shown
    Click("cmdUpdate");
    const QImage shown = Surface().copy();

    const std::string bmp = dir.File("cli.bmp");
    auto run = test::RunKestro(
        {"tiles", path, "--out", bmp, "--offset", "69003", "--width", "96", "--palette", dir.File("mine.pvb")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(QImage(platform::Q(bmp), "BMP").convertToFormat(QImage::Format_RGB32), shown);
    EXPECT_NE(shown.pixel(0, 0), shown.pixel(383, 223));  // something was drawn, and the end left clear

    // Saving from the window gives the same file, byte for byte.
    t.files.Choose(platform::Q(dir.File("window.bmp")));
    Trigger("mnuEditSave");
    EXPECT_EQ(test::ReadBytes(dir.File("window.bmp")), test::ReadBytes(bmp));
}

}  // namespace
}  // namespace kestro::tiles
