// SPDX-License-Identifier: GPL-3.0-or-later
// The emulator and utility choosers' own answers; how they are reached and
// which front-end a choice opens are the main window's tests.
#include <gtest/gtest.h>

#include <QTest>

#include "emus/frmEmus.h"
#include "emus/frmUtils.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using base::Program;

namespace {

void Enable(base::SettingsStore& store, Program program, const test::TempDir& dir) {
    const auto& keys = base::keys::Programs[static_cast<std::size_t>(program)];
    store.Write(std::string(keys.enabled.key), "True");
    store.Write(std::string(keys.directory.key), dir.Path().string());
}

void Click(QWidget* window, const char* name) {
    auto* w = test::FindChild<QWidget>(window, name);
    if (w) QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(6, w->height() - 6));
}

}  // namespace

// An entry whose program is missing says so and stays open; a found one is
// chosen and closes the chooser.
TEST(EmulatorChooser, OffersEnabledEmulatorsAndEndsWithTheOneWhoseProgramIsThere) {
    test::TempDir rboy, rdrag, bin;
    test::WriteBytes(rboy.File("vb_98.exe"), {'M', 'Z'});
    test::TestServices ts;
    Enable(ts.settings, Program::RealityBoy, rboy);
    Enable(ts.settings, Program::RedDragon, rdrag);
    ts.settings.Write("Mednafen Enabled", "True");
    ts.settings.Write("Mednafen Program", bin.File("mednafen"));
    emus::frmEmus chooser(ts.services);
    chooser.show();
    Click(&chooser, "fraRdrag");
    Click(&chooser, "imgMednafen");
    const auto shown = ts.messages.Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Can't find the mednafen program:\r" + bin.File("mednafen"));
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_FALSE(chooser.Chosen());

    Click(&chooser, "imgRboy");
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.Chosen(), Program::RealityBoy);
    EXPECT_EQ(chooser.ChosenProgramFile(), rboy.File("vb_98.exe"));
}

TEST(UtilityChooser, SaysWhatIsMissingOutOfOrderOrNotStarted) {
    test::TempDir compiler, environment, kit;
    test::WriteBytes(compiler.File("VECC.EXE"), {'M', 'Z'});
    test::WriteBytes(kit.File("Vbdk.exe"), {'M', 'Z'});
    test::TestServices ts;
    test::RecordingLauncher launcher;
    platform::Services services{ts.messages, ts.files, ts.settings, launcher, ts.clock, ts.registry};
    Enable(ts.settings, Program::VeCCompiler, compiler);
    Enable(ts.settings, Program::VEnvironment, environment);
    Enable(ts.settings, Program::VbDevKit, kit);

    emus::frmUtils chooser(services);
    chooser.show();
    Click(&chooser, "fraEnvironment");
    EXPECT_EQ(ts.messages.Take(),
              (std::vector<base::Message>{{"Utility not found",
                                           "Can't find VIDE.EXE in directory:\r" + environment.Path().string(),
                                           base::MessageIcon::Exclamation}}));

    // The compiler is found, but only says it is out of order.
    Click(&chooser, "imgVECC");
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(ts.messages.Take().at(0).title, "Out of order");
    EXPECT_TRUE(launcher.requests.empty());

    // A start that fails is reported in the launcher's words.
    launcher.result = {false, "wine is not installed."};
    emus::frmUtils failing(services);
    failing.show();
    Click(&failing, "imgVBDK");
    const base::Message notStarted = ts.messages.Take().at(0);
    EXPECT_EQ(notStarted.title, "Utility not started");
    EXPECT_NE(notStarted.text.find("wine is not installed."), std::string::npos);
}
