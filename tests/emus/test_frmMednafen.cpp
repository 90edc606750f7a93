// SPDX-License-Identifier: GPL-3.0-or-later
// The Mednafen front-end driven through its controls.
#include <stdlib.h>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSpinBox>

#include <fstream>

#include "emus/FrontEndFixture.h"
#include "emus/frmMednafen.h"
#include "platform/PathLabel.h"
#include "platform/Swatch.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using base::MessageResult;
using test::FileText;

class MednafenWindowTest : public test::FrontEndTest<frmMednafen> {
protected:
    MednafenWindowTest() {
        setenv("MEDNAFEN_HOME", home.c_str(), 1);
        std::filesystem::create_directories(home);
        test::WriteExecutable(program, "#!/bin/sh\n");
        t.settings.Write("Mednafen Program", program);
    }
    ~MednafenWindowTest() override { unsetenv("MEDNAFEN_HOME"); }

    QString Choice(const char* combo) { return Find<QComboBox>(combo)->currentData().toString(); }
    void Choose(const char* combo, const char* value) {
        auto* box = Find<QComboBox>(combo);
        box->setCurrentIndex(box->findData(QString::fromLatin1(value)));
    }

    std::string home = dir.File("mednafen home");
    std::string program = JoinPath(emu, "mednafen");
    std::string gameFile = JoinPath(home, "pgconfig/game one.vb.cfg");
    std::string globalFile = JoinPath(home, "mednafen.cfg");
};

TEST_F(MednafenWindowTest, AGameShowsItsOwnSettingsAndSavesThemInItsFileAlone) {
    test::WriteText(globalFile, "vb.3dmode cscope\nvb.sidebyside.separation 8\n");
    test::WriteText(gameFile, ";mine\nvb.anaglyph.preset red_cyan\n");
    Open();
    // Before a ROM: what every game gets, and nothing to run or save.
    EXPECT_EQ(Choice("cmb3DMode"), QStringLiteral("cscope"));
    EXPECT_FALSE(Enabled("cmdRunMednafen") || Enabled("cmdSaveSettings") || Enabled("cmdRevertDefault"));

    SelectRom(rom);
    EXPECT_EQ(Find<platform::PathLabel>("lblSettingsFile")->path(), QString::fromStdString(gameFile));
    EXPECT_EQ(Choice("cmbPreset"), QStringLiteral("red_cyan"));
    EXPECT_EQ(Find<QSpinBox>("spnSeparation")->value(), 8);
    auto* command = Find<QLineEdit>("txtCommandLine");
    EXPECT_EQ(command->text(), QString::fromStdString("'" + program + "' '" + rom + "'"));
    Click("cmdCopyCommand");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), command->text());

    // Each setting is open where Mednafen uses it.
    EXPECT_FALSE(Enabled("cmbPreset") || Enabled("spnSeparation"));
    Choose("cmb3DMode", "sidebyside");
    EXPECT_TRUE(Enabled("spnSeparation"));
    Find<QSpinBox>("spnSeparation")->setValue(5000);
    EXPECT_EQ(Find<QSpinBox>("spnSeparation")->value(), 1024) << "a number keeps to its setting's range";
    Find<QSpinBox>("spnSeparation")->setValue(20);
    Find<QCheckBox>("chkSound")->setChecked(false);
    Click("cmdSaveSettings");
    EXPECT_EQ(FileText(gameFile),
              ";mine\nvb.anaglyph.preset red_cyan\nvb.3dmode sidebyside\nvb.sidebyside.separation 20\nsound 0\n");
    EXPECT_EQ(FileText(globalFile), "vb.3dmode cscope\nvb.sidebyside.separation 8\n");

    // Revert Settings brings back what the file holds.
    Choose("cmb3DMode", "hli");
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertSettings");
    EXPECT_EQ(Choice("cmb3DMode"), QStringLiteral("sidebyside"));
}

// Which lines Revert to Default takes out is the core's test; here the
// question, and the controls after.
TEST_F(MednafenWindowTest, OwnColoursRunAndRevertToDefault) {
    Open();
    SelectRom(rom);
    EXPECT_EQ(Choice("cmb3DMode"), QStringLiteral("anaglyph"));
    EXPECT_FALSE(Enabled("txtLColor") || Enabled("txtDefaultColor"));
    Choose("cmbPreset", "disabled");
    Find<QLineEdit>("txtLColor")->setText(QStringLiteral("0x112233"));
    EXPECT_EQ(Find<platform::Swatch>("shpLColor")->BackColour(), QColor(0x11, 0x22, 0x33));

    Click("cmdRunMednafen");
    EXPECT_EQ(FileText(gameFile), "vb.anaglyph.preset disabled\nvb.anaglyph.lcolor 0x112233\n");
    ASSERT_EQ(t.recorder.requests.size(), 1u);
    EXPECT_EQ(t.recorder.requests[0], (base::LaunchRequest{program, {rom}, {}, false, {0}}));

    t.messages.Answer(MessageResult::No);
    Click("cmdRevertDefault");
    EXPECT_TRUE(std::filesystem::exists(gameFile));
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertDefault");
    EXPECT_EQ(t.messages.Take(), std::vector<base::Message>(2, RemoveGameSettingsQuestion(gameFile)));
    EXPECT_FALSE(std::filesystem::exists(gameFile));
    EXPECT_EQ(Find<QLineEdit>("txtLColor")->text(), QStringLiteral("0xffba00"));

    // A program that is gone: the message, and no start.
    std::filesystem::remove(program);
    Click("cmdRunMednafen");
    EXPECT_EQ(t.recorder.requests.size(), 1u);
    EXPECT_EQ(t.messages.Take().at(0).text, "Can't find the mednafen program:\r" + program);

    EXPECT_EQ(test::ModalOpenedBy([this] { Click("cmdHelp"); }), QStringLiteral("frmHelp"));
}

}  // namespace
}  // namespace kestro::emus
