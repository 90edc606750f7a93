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

TEST(EmulatorChooser, OffersEnabledEmulatorsAndEndsWithTheOneWhoseProgramIsThere) {
    test::TempDir rboy, rdrag;
    Touch(rboy, "vb_98.exe");
    test::TestServices ts;
    Enable(ts.settings, Program::RealityBoy, rboy);
    Enable(ts.settings, Program::RedDragon, rdrag);
    emus::frmEmus chooser(ts.services);
    chooser.show();
    // Virtual-E is switched off: greyed, and a click on it does nothing.
    EXPECT_FALSE(test::FindChild<QWidget>(&chooser, "imgVirte")->isVisible());
    EXPECT_FALSE(test::FindChild<QLabel>(&chooser, "imgVirteGrey")->pixmap().isNull());
    Click(&chooser, "imgVirteGrey");
    Click(&chooser, "fraVirte");
    EXPECT_TRUE(ts.messages.Shown().empty());
    EXPECT_TRUE(chooser.isVisible());

    // Red Dragon is on but its program is missing: say so and stay open.
    Click(&chooser, "fraRdrag");
    EXPECT_EQ(ts.messages.Take().at(0).text, "Can't find RDRAGON.EXE in directory:\r" + rdrag.Path().string());
    EXPECT_FALSE(chooser.Chosen());

    // Reality Boy with only VB_98.exe: chosen, and the chooser closes.
    Click(&chooser, "imgRboy");
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.Chosen(), Program::RealityBoy);
    EXPECT_EQ(chooser.ChosenProgramFile(), rboy.File("vb_98.exe"));
}

// Mednafen is the fourth emulator, found by its program rather than a directory.
TEST(EmulatorChooser, MednafenIsTheFourthEntry) {
    test::TempDir bin;
    test::TestServices ts;
    {
        emus::frmEmus chooser(ts.services);
        EXPECT_TRUE(test::FindChild<QWidget>(&chooser, "imgMednafenGrey")->isVisibleTo(&chooser)) << "off by default";
    }
    ts.settings.Write("Mednafen Enabled", "True");
    ts.settings.Write("Mednafen Program", bin.File("mednafen"));
    emus::frmEmus chooser(ts.services);
    chooser.show();
    EXPECT_FALSE(test::FindChild<QLabel>(&chooser, "imgMednafen")->pixmap().isNull());
    Click(&chooser, "imgMednafen");
    EXPECT_EQ(ts.messages.Take().at(0).text, "Can't find the mednafen program:\r" + bin.File("mednafen"));
    EXPECT_TRUE(chooser.isVisible());

    test::WriteExecutable(bin.File("mednafen"), "#!/bin/sh\n");
    Click(&chooser, "fraMednafen");
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(chooser.Chosen(), Program::Mednafen);
    EXPECT_EQ(chooser.ChosenProgramFile(), bin.File("mednafen"));
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

TEST(UtilityChooser, WithEveryToolSwitchedOffNothingCanBeChosen) {
    Launching l;
    emus::frmUtils chooser(l.services);
    chooser.show();
    for (const char* entry : {"VECC", "Environment", "VBDK"}) {
        const std::string name(entry);
        EXPECT_FALSE(test::FindChild<QWidget>(&chooser, ("fra" + name).c_str())->isEnabled()) << entry;
        EXPECT_TRUE(test::FindChild<QWidget>(&chooser, ("img" + name + "Grey").c_str())->isVisible()) << entry;
        Click(&chooser, ("fra" + name).c_str());
        Click(&chooser, ("img" + name + "Grey").c_str());
    }
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_TRUE(l.ts.messages.Shown().empty());
    EXPECT_TRUE(l.launcher.requests.empty());
}
