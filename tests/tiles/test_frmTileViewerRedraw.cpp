// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's redraw as the user sees it, stopping it midway, and
// copying or saving the view.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QTest>
#include <QTimer>

#include "support/gui/WindowChecks.h"
#include "tiles/TileViewerFixture.h"

namespace kestro::tiles {
namespace {

using platform::Q;

// The controls a redraw disables, so that nothing changes the view under it.
std::vector<const char*> RedrawControls() {
    std::vector<const char*> names(kNavigation.begin(), kNavigation.end());
    names.insert(names.end(), {"cmdUpdate", "chkAutoUpdate", "cmdChangePalette"});
    return names;
}

// Counts the surface's repaints.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Runs fn during the redraw's first turn of the event loop.
void DuringRedraw(std::function<void()> fn) {
    QTimer::singleShot(0, std::move(fn));
}

TEST_F(TileViewerTest, RedrawDisablesTheControlsShowsItsCaptionAndGrowsRowByRow) {
    const std::string path = MakeRom("redraw.vb", 65536);
    Viewer().show();
    Open(path);
    t.clock.now = 3600.6;  // late in a second: a start rounded up would shorten the time
    PaintCounter counter;
    Find<QWidget>("picTileViewer")->installEventFilter(&counter);
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
    EXPECT_GE(counter.paints, 28);  // at least one repaint per tile row
    EXPECT_EQ(Surface(), Expected(path, 0, 48));
    EXPECT_EQ(Viewer().windowTitle(), QStringLiteral("ROM Tile Viewer - [TILE TEST]"));
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
    EXPECT_EQ(Viewer().windowTitle(), QStringLiteral("ROM Tile Viewer - [SECOND]"));

    DuringRedraw([&] { Trigger("mnuFileClose"); });
    Click("cmdOffsetUp");
    EXPECT_EQ(Surface(), Expected(second, 1 << 30, 48));  // nothing drawn
    EXPECT_EQ(Viewer().windowTitle(), QStringLiteral("ROM Tile Viewer - [SECOND]"));
    EXPECT_EQ(test::Enabled(&Viewer(), {"cmdChangePalette", "cmdPageDown", "mnuEditSave"}), "100");

    Open(first);
    DuringRedraw([&] { Viewer().close(); });
    Click("cmdOffsetUp");
    EXPECT_FALSE(Viewer().isVisible());
    // Only the first tile was drawn before the window closed.
    EXPECT_EQ(Surface().pixel(383, 223), qRgb(0, 128, 128));
    EXPECT_EQ(Surface().pixel(8, 0), qRgb(0, 128, 128));
}

TEST_F(TileViewerTest, AfterARedrawTheKeyboardIsWhereItWas) {
    t.settings.Write("AutoUpdate Viewer", "True");
    const std::string path = MakeRom("focus.vb", 65536);
    Viewer().show();
    Viewer().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Viewer()));
    Open(path);
    QPushButton* down = Button("cmdDown");
    down->setFocus();
    for (int press = 1; press <= 2; ++press) {
        QTest::keyClick(down, Qt::Key_Space);
        EXPECT_EQ(Text("lblOffset"), QString::number(press * 16 * 48));
        EXPECT_EQ(QApplication::focusWidget(), down) << "after redraw " << press;
    }
    EXPECT_TRUE(t.messages.Shown().empty()) << "no key reached the picture";
}

// How a fraction rounds is the core's test; here that drawing and halving agree.
TEST_F(TileViewerTest, FractionalWidthsAndOffsetsRoundAlikeForDrawingAndHalving) {
    t.settings.Write("AutoUpdate Viewer", "True");
    const std::string path = MakeRom("half.vb", 65536);
    Open(path);
    Goto("cmdGotoWidth", "2.5");
    Goto("cmdGotoOffset", "16.5");
    EXPECT_EQ(Text("lblWidth"), QStringLiteral("2.5"));
    EXPECT_EQ(Surface(), Expected(path, 16, 2)) << "2.5 tiles draw as 2, halves to even";
    Click("cmdTileHalf");
    EXPECT_EQ(Text("lblWidth"), QStringLiteral("1"));
    Goto("cmdGotoWidth", "3.5");
    EXPECT_EQ(Surface(), Expected(path, 16, 4));
    Click("cmdTileHalf");
    EXPECT_EQ(Text("lblWidth"), QStringLiteral("2"));
}

}  // namespace
}  // namespace kestro::tiles
