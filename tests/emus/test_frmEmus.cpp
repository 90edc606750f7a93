// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
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

void Touch(const test::TempDir& dir, const char* name) {
    test::WriteBytes(dir.File(name), {'M', 'Z'});
}

void Enable(base::SettingsStore& store, Program program, const test::TempDir& dir) {
    const auto& keys = base::keys::Programs[static_cast<std::size_t>(program)];
    store.Write(std::string(keys.enabled.key), "True");
    store.Write(std::string(keys.directory.key), dir.Path().string());
}

void Click(QWidget* window, const char* name) {
    auto* w = test::FindChild<QWidget>(window, name);
    if (w) QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(6, w->height() - 6));
}

// A services bundle whose launcher records what it is asked to start.
struct Launching {
    test::TestServices ts;
    test::RecordingLauncher launcher;
    platform::Services services{ts.messages, ts.files, ts.settings, launcher, ts.clock, ts.registry};
};

}  // namespace

// Switched-off entries are greyed and do nothing; an entry whose program is
// missing says so and stays open; a found one is chosen and closes the chooser.
TEST(EmulatorChooser, OffersEnabledEmulatorsAndEndsWithTheOneWhoseProgramIsThere) {
    test::TempDir rboy, rdrag, bin;
    Touch(rboy, "vb_98.exe");
    test::TestServices ts;
    Enable(ts.settings, Program::RealityBoy, rboy);
    Enable(ts.settings, Program::RedDragon, rdrag);
    ts.settings.Write("Mednafen Enabled", "True");
    ts.settings.Write("Mednafen Program", bin.File("mednafen"));
    emus::frmEmus chooser(ts.services);
    chooser.show();
    EXPECT_FALSE(test::FindChild<QWidget>(&chooser, "imgVirte")->isVisible());
    EXPECT_FALSE(test::FindChild<QLabel>(&chooser, "imgVirteGrey")->pixmap().isNull());
    EXPECT_FALSE(test::FindChild<QLabel>(&chooser, "imgMednafen")->pixmap().isNull());
    Click(&chooser, "imgVirteGrey");
    Click(&chooser, "fraVirte");
    EXPECT_TRUE(ts.messages.Shown().empty());

    Click(&chooser, "fraRdrag");
    EXPECT_EQ(ts.messages.Take().at(0).text, "Can't find RDRAGON.EXE in directory:\r" + rdrag.Path().string());
    Click(&chooser, "imgMednafen");
    EXPECT_EQ(ts.messages.Take().at(0).text, "Can't find the mednafen program:\r" + bin.File("mednafen"));
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_FALSE(chooser.Chosen());

    // Reality Boy with only VB_98.exe.
    Click(&chooser, "imgRboy");
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.Chosen(), Program::RealityBoy);
    EXPECT_EQ(chooser.ChosenProgramFile(), rboy.File("vb_98.exe"));

    test::WriteExecutable(bin.File("mednafen"), "#!/bin/sh\n");
    emus::frmEmus again(ts.services);
    again.show();
    Click(&again, "fraMednafen");
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(again.ChosenProgramFile(), bin.File("mednafen"));
}

TEST(UtilityChooser, StartsTheChosenToolInItsOwnDirectory) {
    test::TempDir compiler, environment, kit;
    Touch(compiler, "VECC.EXE");
    Touch(kit, "Vbdk01.exe");
    Touch(kit, "Vbdk07.exe");
    Touch(kit, "Vbdk.exe");
    Launching l;
    Enable(l.ts.settings, Program::VeCCompiler, compiler);
    Enable(l.ts.settings, Program::VEnvironment, environment);
    Enable(l.ts.settings, Program::VbDevKit, kit);

    emus::frmUtils chooser(l.services);
    chooser.show();
    Click(&chooser, "fraEnvironment");
    auto shown = l.ts.messages.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title + shown[0].text,
              "Utility not foundCan't find VIDE.EXE in directory:\r" + environment.Path().string());
    EXPECT_TRUE(chooser.isVisible());

    // The compiler is found, but only says it is out of order.
    Click(&chooser, "imgVECC");
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(l.ts.messages.Take().at(0).title, "Out of order");
    EXPECT_TRUE(l.launcher.requests.empty());

    // The kit starts as its highest-numbered program, in its own directory.
    emus::frmUtils again(l.services);
    again.show();
    Click(&again, "fraVBDK");
    EXPECT_FALSE(again.isVisible());
    ASSERT_EQ(l.launcher.requests.size(), 1u);
    EXPECT_EQ(l.launcher.requests[0], (base::LaunchRequest{kit.File("Vbdk07.exe"), {}, kit.Path().string()}));

    // A start that fails is reported in the launcher's words.
    l.launcher.result = {false, "wine is not installed."};
    emus::frmUtils failing(l.services);
    failing.show();
    Click(&failing, "imgVBDK");
    shown = l.ts.messages.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Utility not started");
    EXPECT_NE(shown[0].text.find("wine is not installed."), std::string::npos);
}
