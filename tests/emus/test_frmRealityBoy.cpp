// SPDX-License-Identifier: GPL-3.0-or-later
// The Reality Boy front-end driven through its controls. The clamping,
// palette and number rules are the core's tests; here the controls that
// follow them, the store behind them and the runs.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <fstream>

#include "emus/FrontEndFixture.h"
#include "emus/frmRealityBoy.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using base::MessageResult;

class RealityBoyTest : public test::FrontEndTest<frmRealityBoy> {
protected:
    RealityBoyTest() {
        t.settings.Write("Reality Boy Directory", emu);
        std::ofstream(JoinPath(emu, "Rboy.exe")) << "MZ";
    }
    QRadioButton* Option(const char* group, int index) {
        return Find<QRadioButton>(
            QStringLiteral("%1_%2").arg(QString::fromLatin1(group)).arg(index).toLatin1().constData());
    }
    int Checked(const char* group, int count) {
        for (int i = 0; i < count; ++i) {
            if (Option(group, i)->isChecked()) return i;
        }
        return -1;
    }
    void Type(const char* box, const char* text) { Find<QLineEdit>(box)->setText(QString::fromLatin1(text)); }
    QString Text(const char* box) { return Find<QLineEdit>(box)->text(); }
    /// The options as the controls show them.
    RealityBoyOptions Shown() {
        return {Checked("optDspMode", 7),
                Checked("optDisplay", 7),
                Checked("optPalette", 5),
                Text("txtFrameSkip").toInt(),
                Text("txtBrightness").toInt(),
                Find<QCheckBox>("chkPalette")->isChecked(),
                Find<QCheckBox>("chkFlip")->isChecked()};
    }
};

TEST_F(RealityBoyTest, TheControlsShowTheStoreAndSaveRevertAndDefaultKeepItAsTheyShould) {
    t.settings.Write("Reality Boy Display Mode", "1");
    t.settings.Write("Reality Boy Palette", "0");  // not usable with red/blue glasses
    t.settings.Write("Reality Boy Resolution", "12");
    t.settings.Write("Reality Boy Flip 3D Effects", "True");
    Open();
    EXPECT_EQ(Shown(), (RealityBoyOptions{1, 6, 2, 0, 64, false, true}));
    EXPECT_FALSE(Option("optPalette", 1)->isEnabled());

    Option("optDspMode", 3)->click();
    Option("optDisplay", 5)->click();
    Option("optPalette", 1)->click();
    Type("txtFrameSkip", "2");
    Type("txtBrightness", "90");
    Find<QCheckBox>("chkPalette")->click();
    Click("cmdSaveSettings");
    const RealityBoyOptions saved{3, 5, 1, 2, 90, true, true};
    EXPECT_EQ(ReadRealityBoyOptions(t.settings), saved);

    Option("optDspMode", 1)->click();
    Type("txtBrightness", "5");
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertSettings");
    EXPECT_EQ(Shown(), saved);

    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertDefault");
    EXPECT_EQ(Shown(), RealityBoyOptions{});
    EXPECT_EQ(ReadRealityBoyOptions(t.settings), saved) << "defaults are not stored";
    Open();
    EXPECT_EQ(Shown(), saved) << "reopening shows the saved values";
}

TEST_F(RealityBoyTest, DisplayModesSetThePalettesAndTheBoxesAndBarsFollowEachOther) {
    Open();
    Option("optDspMode", 2)->click();
    EXPECT_EQ(Checked("optPalette", 5), 3) << "Red/Green glasses select the Red/Green palette";
    Type("txtBrightness", "300");
    EXPECT_EQ(Text("txtBrightness"), QStringLiteral("127"));
    EXPECT_EQ(Find<QScrollBar>("vscBrightness")->value(), 127);
    Find<QScrollBar>("vscFrameSkip")->setValue(4);
    EXPECT_EQ(Text("txtFrameSkip"), QStringLiteral("4"));
    for (int raised : RaisedBy("vscBrightness", 5)) EXPECT_GT(raised, 5);
}

TEST_F(RealityBoyTest, ARomChosenEnablesTheRunsWhichStartWithTheControlsAsTheyStand) {
    Open();
    SelectRom(rom);
    EXPECT_TRUE(Enabled("cmdRunDebugMode"));

    Option("optDspMode", 2)->click();  // unsaved: it counts all the same
    Find<QCheckBox>("chkFlip")->click();
    Click("cmdRunDebugMode");
    ASSERT_EQ(t.recorder.requests.size(), 1u);
    EXPECT_EQ(t.recorder.requests[0].arguments,
              (std::vector<std::string>{rom, "-display", "640", "-dspmode", "red_blue", "-frmskip", "0", "-pallet",
                                        "rg", "-brite", "64", "-flip", "-debug"}));

    t.recorder.result = {false, "Cannot find the program " + JoinPath(emu, "RBOY") + "."};
    Click("cmdRunRealityBoy");
    const base::Message shown = t.messages.Take().at(0);
    EXPECT_EQ(shown.title + shown.text, "Unable to start Reality Boy" + t.recorder.result.error);
    EXPECT_EQ(test::ModalOpenedBy([this] { Click("cmdControlConfig"); }), QStringLiteral("frmControlConfig"));
}

// A refused ROM leaves the list as the ROM row's shared test shows; a gone one leaves it without a word.
TEST_F(RealityBoyTest, RecentRomsAreCheckedWhenChosen) {
    t.settings.Write("Recent ROM #1", dir.File("gone.vb"));
    t.settings.Write("Recent ROM #2", rom);
    Open();
    auto* combo = Find<QComboBox>("cmbFilename");
    ASSERT_EQ(combo->count(), 3);
    combo->setCurrentIndex(1);
    EXPECT_TRUE(t.messages.Shown().empty());
    EXPECT_EQ(combo->count(), 2);
    EXPECT_FALSE(Enabled("cmdRunRealityBoy"));
    combo->setCurrentIndex(1);
    EXPECT_TRUE(Enabled("cmdRunRealityBoy"));
    EXPECT_EQ(t.settings.Values().at("Recent ROM #1"), rom);
    combo->setCurrentIndex(0);
    EXPECT_FALSE(Enabled("cmdRunRealityBoy")) << "the placeholder is no ROM";
}

TEST_F(RealityBoyTest, WithTheRecentListOffTheLabelHoldsTheRom) {
    t.settings.Write("Recent ROMs number", "0");
    Open();
    Find<QWidget>("cmdRunRealityBoy")->setEnabled(true);
    Click("cmdRunRealityBoy");
    EXPECT_EQ(t.messages.Take().at(0), SelectRomMessage());
    SelectRom(rom);
    EXPECT_EQ(Label("lblFilename"), QString::fromStdString(rom));
    Click("cmdRunRealityBoy");
    ASSERT_EQ(t.recorder.requests.size(), 1u) << "none before the ROM was chosen";
    EXPECT_EQ(t.recorder.requests[0].arguments.front(), rom);
}

}  // namespace
}  // namespace kestro::emus
