// SPDX-License-Identifier: GPL-3.0-or-later
// Every window by keyboard: the themed main menu, the choosers, the options
// window's Tab order and number bar, and Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "app/frmMain.h"
#include "app/frmOptions.h"
#include "emus/frmEmus.h"
#include "platform/Text.h"
#include "rominfo/frmRomInfo.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"
#include "tiles/frmTileViewer.h"

using namespace kestro;
using base::MessageResult;
using test::FindChild;

namespace {

// Start-up finds its library and font.
struct Machine {
    base::MemoryRegistryBackend registry;
    Machine() {
        registry.SetText(base::HKEY_LOCAL_MACHINE_, app::kWindowsDirKey, app::kWindowsDirValue, "/usr/lib");
        registry.SetText(base::HKEY_USERS_, app::kFontsDirKey, app::kFontsDirValue, "/usr/share/fonts");
    }
    app::StartupEnvironment Environment() {
        return {registry, "/opt/kestro", "ipag.ttf", [](const std::string&) { return true; },
                [](const std::string&, std::string*) { return true; }};
    }
};

QString Focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// A key pressed where the focus is (in the active window when nothing has it).
void Key(Qt::Key key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key);
}

// The names the focus passes through on n presses of the key.
QStringList FocusWalk(Qt::Key key, int n) {
    QStringList names;
    for (int i = 0; i < n; ++i) {
        Key(key);
        names << Focused();
    }
    return names;
}

}  // namespace

TEST(Keyboard, ThemedMainMenuIsUsedByTabEnterSpaceAndAltKeys) {
    test::TestServices ts;
    ts.settings.Write("VB Main Menu Theme", "True");
    Machine machine;
    app::frmMain window(ts.services, machine.Environment());
    ASSERT_TRUE(window.Form_Load());
    ts.messages.Take();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Key(Qt::Key_Return);
    EXPECT_EQ(test::Visible(&window, {"imgPrecaution_0", "imgTitle_0"}), "01");
    Key(Qt::Key_Space);
    EXPECT_EQ(test::Visible(&window, {"imgTitle_0", "imgMenu_0"}), "01");
    const QRect lamp = FindChild<QWidget>(&window, "imgLowBat_0")->geometry();
    for (const char* button : {"imgHelp_0", "imgClose_0", "imgPower_0"}) {
        EXPECT_FALSE(lamp.intersects(FindChild<QWidget>(&window, button)->geometry()))
            << "the lamp is clear of " << button;
    }
    auto* first = FindChild<QLabel>(&window, "imgRomInfo_0");
    const QImage unlit = first->pixmap().toImage();
    // No emulator or utility is on, so their pictures are hidden and skipped.
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, 8).join(QLatin1Char(' ')),
              QStringLiteral("imgRomInfo_0 imgTileViewer_0 imgVbRomDatabase_0 imgOptions_0 imgAbout_0 imgHelp_0 "
                             "imgClose_0 imgPower_0"));
    EXPECT_EQ(FocusWalk(Qt::Key_Left, 1).join(QLatin1Char(' ')), QStringLiteral("imgClose_0"));
    Key(Qt::Key_Right);
    Key(Qt::Key_Space);
    EXPECT_EQ(test::TakeOne(ts.messages).title, "Don't click me");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), QStringLiteral("imgRomInfo_0")) << "round to the first";
    EXPECT_NE(first->pixmap().toImage(), unlit) << "the focused picture is lit";

    // The hidden menu bar's menus open with their Alt keys.
    for (auto [key, menu] : {std::pair{Qt::Key_F, "mnuFile"}, std::pair{Qt::Key_H, "mnuHelp"}}) {
        QTest::keyClick(&window, key, Qt::AltModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), FindChild<QMenu>(&window, menu)) << menu;
        if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->close();
    }
}

TEST(Keyboard, ChooserEntriesAreReachedByTabAndArrowsAndChosenByEnterOrSpace) {
    test::TempDir rboy, rdrag;
    test::TestServices ts;
    for (auto [program, dir] : {std::pair{0, &rboy}, std::pair{2, &rdrag}}) {
        ts.settings.Write(std::string(base::keys::Programs[program].enabled.key), "True");
        ts.settings.Write(std::string(base::keys::Programs[program].directory.key), dir->Path().string());
    }
    emus::frmEmus chooser(ts.services);
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
    EXPECT_EQ(Focused(), QStringLiteral("fraRboy"));
    // Virtual-E is switched off: Tab and the arrows pass over it, round the row.
    EXPECT_EQ(FocusWalk(Qt::Key_Right, 2).join(QLatin1Char(' ')), QStringLiteral("fraRdrag fraRboy"));
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, 1).join(QLatin1Char(' ')), QStringLiteral("fraRdrag"));
    const QImage focused = chooser.grab().toImage();
    Key(Qt::Key_Left);
    EXPECT_NE(chooser.grab().toImage(), focused) << "the focus frame moves with the focus";
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        Key(key);
        EXPECT_EQ(ts.messages.Take().size(), 1u) << "Reality Boy's program is missing";
    }
    test::WriteBytes(rboy.File("VB_98.exe"), {'M', 'Z'});
    Key(Qt::Key_Enter);
    EXPECT_EQ(chooser.Chosen(), base::Program::RealityBoy);
}

TEST(Keyboard, OptionsReachTheRecentNumberByTabAndUpCountsUpEveryWay) {
    test::TestServices ts;
    ts.settings.Write("Recent ROMs number", "5");
    app::frmOptions options(ts.services);
    options.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
    EXPECT_TRUE(FocusWalk(Qt::Key_Tab, 40).contains(QStringLiteral("vscMruItems")));
    auto* bar = FindChild<QScrollBar>(&options, "vscMruItems");
    const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
    QWheelEvent wheel(at, bar->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    for (const std::function<void()>& up : std::initializer_list<std::function<void()>>{
             [&] { QTest::keyClick(bar, Qt::Key_Up); }, [&] { QTest::keyClick(bar, Qt::Key_PageUp); },
             [&] { QCoreApplication::sendEvent(bar, &wheel); }}) {
        bar->setValue(5);
        up();
        EXPECT_GT(bar->value(), 5);
    }
}

// One rule: Esc closes a window as its Back or Cancel command does; edits not
// yet saved go only after the window's own question.
TEST(Keyboard, EscClosesEveryWindowButAsksBeforeDroppingEdits) {
    test::TestServices ts;
    test::TempDir dir;
    const std::string rom = dir.File("esc.vb");
    test::RomBuilder().Title("ESC TEST").Size(65536).WriteTo(rom);
    const std::vector<std::function<std::unique_ptr<QDialog>()>> windows = {
        [&] { return std::make_unique<tiles::frmTileViewer>(ts.services); },
        [&] { return std::make_unique<app::frmOptions>(ts.services); },
        [&] { return std::make_unique<emus::frmEmus>(ts.services); },
        [&] {
            auto info = std::make_unique<rominfo::frmRomInfo>(ts.services);
            info->OpenRom(platform::Q(rom));
            return info;
        },
    };
    for (const auto& make : windows) {
        auto window = make();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Key(Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    }
    auto edited = windows.back()();
    auto& info = *edited;
    info.show();
    FindChild<QLineEdit>(&info, "txtRomId")->setText(QStringLiteral("VXYZ"));
    for (auto [answer, open] : {std::pair{MessageResult::No, true}, std::pair{MessageResult::Yes, false}}) {
        ts.messages.Answer(answer);
        QTest::keyClick(&info, Qt::Key_Escape);
        EXPECT_EQ(test::TakeOne(ts.messages).title, "Close ROM?");
        EXPECT_EQ(info.isVisible(), open);
    }
    EXPECT_TRUE(ts.messages.Take().empty());
}
