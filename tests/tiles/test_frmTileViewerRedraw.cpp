// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's redraw as the user sees it, and stopping it midway.
#include <QTimer>

#include "support/gui/WindowChecks.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

// The controls a redraw disables, so that nothing changes the view under it.
std::vector<const char*> RedrawControls() {
    std::vector<const char*> names(kNavigation.begin(), kNavigation.end());
    names.insert(names.end(), {"cmdUpdate", "chkAutoUpdate", "cmdChangePalette"});
    return names;
}

// Runs fn during the redraw's first turn of the event loop.
void DuringRedraw(std::function<void()> fn) {
    QTimer::singleShot(0, std::move(fn));
}

TEST_F(TileViewerTest, RedrawDisablesTheControlsAndShowsItsCaption) {
    const std::string path = MakeRom("redraw.vb", 65536);
    Viewer().show();
    Open(path);
    t.clock.now = 3600.6;  // late in a second: a start rounded up would shorten the time
    bool seen = false;
    DuringRedraw([&] {
        seen = true;
        EXPECT_EQ(Viewer().windowTitle(), QStringLiteral("ROM Tile Viewer - Redrawing..."));
        for (const char* name : RedrawControls()) EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
        EXPECT_EQ(Surface().pixel(383, 223), qRgb(0, 128, 128));  // the last tile row is still to come
        t.clock.now += 2.5;
    });
    Click("cmdUpdate");
    ASSERT_TRUE(seen);
    for (const char* name : RedrawControls()) EXPECT_TRUE(Find<QWidget>(name)->isEnabled()) << name;
    EXPECT_EQ(Surface(), Expected(path, 0, 48));
    EXPECT_EQ(Button("cmdUpdate")->text(), QStringLiteral("Update Screen: 2.5 seconds"));
}

// What the user does while a redraw runs stops it: another ROM opened is drawn
// instead, a closed ROM leaves the view empty, a closed window ends it.
TEST_F(TileViewerTest, ARedrawStopsForWhatHappensDuringIt) {
    t.settings.Write("AutoUpdate Viewer", "True");
    const std::string first = MakeRom("first.vb", 65536, 1, "FIRST");
    const std::string second = MakeRom("second.vb", 32768, 2, "SECOND");
    Viewer().show();
    Open(first);
    DuringRedraw([&] { Open(second); });
    Click("cmdOffsetUp");
    EXPECT_EQ(Surface(), Expected(second, 0, 48));

    DuringRedraw([&] { Trigger("mnuFileClose"); });
    Click("cmdOffsetUp");
    EXPECT_EQ(Surface(), Expected(second, 1 << 30, 48));  // nothing drawn
    EXPECT_EQ(test::Enabled(&Viewer(), {"cmdChangePalette", "cmdPageDown", "mnuEditSave"}), "100");

    Open(first);
    DuringRedraw([&] { Viewer().close(); });
    Click("cmdOffsetUp");
    EXPECT_FALSE(Viewer().isVisible());
    EXPECT_EQ(Surface().pixel(8, 0), qRgb(0, 128, 128)) << "only the first tile was drawn before it closed";
}

}  // namespace
}  // namespace kestro::tiles
