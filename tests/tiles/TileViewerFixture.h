// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Driving the tile viewer in tests: finding its controls, opening ROMs made
// for the test, and the picture the core draws for a view.

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <memory>

#include "platform/DrawingSurface.h"
#include "platform/Text.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"
#include "tiles/TileRender.h"
#include "tiles/frmTileViewer.h"

namespace kestro::tiles {

/// The buttons that move through the ROM or change the width.
inline constexpr std::array<const char*, 14> kNavigation{
    "cmdGotoWidth", "cmdGotoOffset", "cmdTileHalf",  "cmdTileDouble",     "cmdOffsetDown",
    "cmdOffsetUp",  "cmdTileLeft",   "cmdTileRight", "cmdOffsetDownTile", "cmdOffsetUpTile",
    "cmdUp",        "cmdDown",       "cmdPageUp",    "cmdPageDown"};

class TileViewerTest : public ::testing::Test {
protected:
    frmTileViewer& Viewer() {
        if (!m_viewer) m_viewer = std::make_unique<frmTileViewer>(t.services);
        return *m_viewer;
    }
    template <typename T>
    T* Find(const char* name) {
        T* child = Viewer().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
    QString Text(const char* label) { return Find<QLabel>(label)->text(); }
    void Click(const char* name) { Button(name)->click(); }
    void Trigger(const char* name) { Find<QAction>(name)->trigger(); }
    QImage Surface() { return Find<platform::DrawingSurface>("picTileViewer")->Image(); }

    /// Writes a ROM of this size into the test's directory and returns its path.
    std::string MakeRom(const std::string& name, std::size_t size, std::uint32_t seed = 1,
                        const std::string& title = "TILE TEST") {
        const std::string path = dir.File(name);
        roms[path] = test::RomBuilder().Title(title).Size(size).Seed(seed).WriteTo(path);
        return path;
    }
    void Open(const std::string& path) {
        t.files.Choose(platform::Q(path));
        Trigger("mnuFileOpen");
    }
    /// Puts text into the goto dialog that button opens, and clicks Goto.
    void Goto(const char* button, const char* text) {
        test::WhenModalShown([text](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("txtGoto"))->setText(QString::fromLatin1(text));
            dialog->findChild<QPushButton*>(QStringLiteral("cmdGoto"))->click();
        });
        Click(button);
    }
    /// The view the core draws for the ROM at path.
    QImage Expected(const std::string& path, std::int64_t offset, std::int64_t width,
                    const TilePalette& palette = kVbPalette) {
        PixelImage image;
        RenderView(roms.at(path), {offset, width}, palette, kSurfaceColour, image);
        return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 4,
                      QImage::Format_RGB32)
            .copy();
    }

    test::TestServices t;
    test::TempDir dir;
    std::map<std::string, std::vector<std::uint8_t>> roms;
    std::unique_ptr<frmTileViewer> m_viewer;
};

}  // namespace kestro::tiles
