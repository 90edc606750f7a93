// SPDX-License-Identifier: GPL-3.0-or-later
// What the front-end windows share, checked on each of them.
#include <stdlib.h>
#include <QAction>
#include <QPushButton>
#include <fstream>

#include "emus/FrontEndFixture.h"
#include "emus/frmMednafen.h"
#include "emus/frmRealityBoy.h"
#include "emus/frmRedDragon.h"
#include "emus/frmVirtualE.h"

namespace kestro::emus {
namespace {

template <typename Window>
class FrontEndShapeTest : public test::FrontEndTest<Window> {
protected:
    FrontEndShapeTest() { setenv("MEDNAFEN_HOME", this->dir.File("mednafen").c_str(), 1); }
    ~FrontEndShapeTest() override { unsetenv("MEDNAFEN_HOME"); }
    /// The emulator's name, as the window's caption ("... Frontend") gives it.
    QString Name() {
        const QString caption = this->window->windowTitle();
        EXPECT_TRUE(caption.endsWith(QStringLiteral(" Frontend"))) << caption.toStdString();
        return caption.chopped(9);
    }
};
template <typename Window>
class RomFrontEndTest : public FrontEndShapeTest<Window> {};

using FrontEnds = ::testing::Types<frmRealityBoy, frmRedDragon, frmMednafen, frmVirtualE>;
TYPED_TEST_SUITE(FrontEndShapeTest, FrontEnds);
using RomFrontEnds = ::testing::Types<frmRealityBoy, frmRedDragon, frmMednafen>;
TYPED_TEST_SUITE(RomFrontEndTest, RomFrontEnds);

// The caption and the help topic; Enter in a text box or list must not press
// a button the user never chose ("Select ROM..." would otherwise open a file dialog).
TYPED_TEST(FrontEndShapeTest, CaptionHelpAndNoDefaultButton) {
    TypeParam& window = this->Open();
    const QString name = this->Name();
    auto help = test::WhenHelpShown();
    this->template Find<QAction>("mnuHelpHelp")->trigger();
    EXPECT_EQ(help->caption, name + QStringLiteral(" Frontend Help"));
    EXPECT_TRUE(help->text.startsWith(name + QStringLiteral(" Frontend:"))) << help->text.left(40).toStdString();
    const auto buttons = window.template findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QPushButton* button : buttons) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();
    }
}

// The ROM row: a refused file says why and leaves nothing to run; a good one
// can be run and heads the recent list.
TYPED_TEST(RomFrontEndTest, TheRomRow) {
    this->Open();
    const QByteArray run = "cmdRun" + this->Name().remove(QLatin1Char(' ')).toLatin1();
    std::ofstream(this->dir.File("tiny.vb")) << "x";
    this->SelectRom(this->dir.File("tiny.vb"));
    EXPECT_EQ(this->t.messages.Take().at(0).text, "File too small to be a VB ROM image.");
    EXPECT_FALSE(this->Enabled(run.constData()));
    this->SelectRom(this->rom);
    EXPECT_TRUE(this->Enabled(run.constData()));
    EXPECT_EQ(this->t.settings.Values().at("Recent ROM #1"), this->rom);
    EXPECT_TRUE(this->t.messages.Shown().empty());
}

}  // namespace
}  // namespace kestro::emus
