// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's buttons and its surface's ground colour.
#include <QPushButton>

#include "platform/Swatch.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

TEST_F(TileViewerTest, EnterPressesNoButtonAndTheSurfaceShowsItsGround) {
    // Enter must not press a navigation button the user never chose.
    for (QPushButton* button : Viewer().findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();
    Open(MakeRom("game.vb", 65536));
    EXPECT_EQ(Find<platform::DrawingSurface>("picTileViewer")->BackColour(), platform::ToQColor(kSurfaceColour));
}

}  // namespace
}  // namespace kestro::tiles
