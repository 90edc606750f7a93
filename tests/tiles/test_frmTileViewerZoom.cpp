// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's zoom: keys and menu, the setting, and copies and bitmaps
// that stay 1:1 unless asked otherwise.
#include <QClipboard>
#include <QGuiApplication>
#include <filesystem>

#include "support/gui/WindowChecks.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

TEST_F(TileViewerTest, ZoomEnlargesTheViewByKeysAndMenuAndIsRemembered) {
    t.settings.Write("Tile Viewer Zoom", "9");  // out of range: the nearest zoom there is
    Viewer().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Viewer()));
    auto* surface = Find<platform::DrawingSurface>("picTileViewer");
    EXPECT_EQ(surface->Zoom(), 4);
    Trigger("mnuViewZoom1");
    // Key (or menu entry), and the zoom after it; zoom stays within 1 to 4.
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Plus, 2}, {Qt::Key_Plus, 3}, {Qt::Key_Plus, 4}, {Qt::Key_Plus, 4}, {Qt::Key_Minus, 3}};
    for (auto [key, zoom] : steps) {
        QTest::keyClick(&Viewer(), key);
        EXPECT_EQ(surface->Zoom(), zoom);
    }
    EXPECT_EQ(t.settings.Values().at("Tile Viewer Zoom"), "3");

    const std::string path = MakeRom("zoom.vb", 65536, 5);
    Open(path);
    Click("cmdUpdate");
    const QImage view = Expected(path, 0, 48);

    // Copy and bitmap: 1:1 at first, the zoomed size once the user asks for it. A
    // name without an extension is saved as a bitmap file named so.
    for (const bool zoomed : {false, true}) {
        Find<QAction>("mnuEditZoomed")->setChecked(zoomed);
        const std::string bmp = dir.File(zoomed ? "big.bmp" : "small");
        t.files.Choose(platform::Q(bmp));
        Trigger("mnuEditSave");
        const std::string saved = zoomed ? bmp : bmp + ".bmp";
        EXPECT_EQ(test::TakeOne(t.messages),
                  (base::Message{"Saved to file", "Image saved to file:\r" + saved, base::MessageIcon::Information}));
        Trigger("mnuEditCopy");
        EXPECT_EQ(test::TakeOne(t.messages).text, "Image copied to clipboard.");
        const QImage expected = zoomed ? view.scaled(view.size() * 3) : view;
        EXPECT_EQ(QImage(platform::Q(saved), "BMP").convertToFormat(QImage::Format_RGB32), expected) << zoomed;
        EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), expected) << zoomed;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("small")));
}

}  // namespace
}  // namespace kestro::tiles
