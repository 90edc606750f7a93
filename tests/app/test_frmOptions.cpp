// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "app/frmOptions.h"
#include "base/SettingsKeys.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;
using base::MessageResult;

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() {
        test::WriteBytes(roms.File("game.VB"), {0});
        ts.settings.Write("Base Directory", roms.Path().string());
    }
    void Open() {
        w = std::make_unique<app::frmOptions>(ts.services);
        w->show();
        writesBefore = ts.settings.WriteCount();
    }
    template <typename T = QWidget>
    T* Find(const char* name) {
        return test::FindChild<T>(w.get(), name);
    }
    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    void Check(const char* name, bool on) { Find<QCheckBox>(name)->setChecked(on); }
    int Writes() const { return ts.settings.WriteCount() - writesBefore; }
    std::string Stored(const char* key) const { return ts.settings.Read(key, "(none)"); }

    test::TempDir roms;
    test::TestServices ts;
    std::unique_ptr<app::frmOptions> w;
    int writesBefore = 0;
};

// Picks a directory in the directory chooser once it shows, and selects it.
void WhenChooserShown(const std::string& directory) {
    test::WhenModalShown([directory](QWidget* chooser) {
        auto* tree = chooser->findChild<QTreeView*>(QStringLiteral("dirDirectory"));
        ASSERT_NE(tree, nullptr);
        tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(Q(directory)));
        QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdSelect")), Qt::LeftButton);
    });
}

}  // namespace

TEST_F(OptionsTest, ControlsShowTheSettingsAndFollowTheirBoxes) {
    ts.settings.Write("VB Main Menu Theme", "True");
    ts.settings.Write("VB Theme Colours", "True");
    ts.settings.Write("Recent ROMs number", "6");
    ts.settings.Write("Rename ROMs", "1");
    ts.settings.Write("Move ROMs", "1");
    Open();
    const auto followers = {"optThemeCol_0", "optThemeCol_1", "lblMruItems", "vscMruItems", "lblMruItems1",
                            "cmdMruItems",   "chkMoveRoms",   "cmdVirteDir", "lblVirteDir"};
    EXPECT_EQ(test::Enabled(w.get(), followers), "111111100");
    EXPECT_EQ(test::Checked(w.get(), {"optThemeCol_1", "chkMoveRoms"}), "11");
    auto* count = Find<QLabel>("lblMruItems");
    EXPECT_EQ(count->text(), QStringLiteral("6"));
    for (auto [box, on] : {std::pair{"chkIntro", false}, std::pair{"chkMruItems", false},
                           std::pair{"chkRenameRoms", false}, std::pair{"chkVirteEnabled", true}}) {
        Check(box, on);
    }
    EXPECT_EQ(test::Enabled(w.get(), followers), "000000011");
    EXPECT_EQ(count->text(), QStringLiteral("0"));
    EXPECT_EQ(test::Checked(w.get(), {"chkMoveRoms"}), "0");
    Check("chkMruItems", true);
    EXPECT_EQ(count->text(), QStringLiteral("6")) << "back to the stored number";
    auto* arrows = Find<QScrollBar>("vscMruItems");
    QTest::mouseClick(arrows, Qt::LeftButton, Qt::NoModifier, QPoint(arrows->width() / 2, 3));
    EXPECT_EQ(count->text(), QStringLiteral("7")) << "the upper arrow counts up";
}

TEST_F(OptionsTest, ABaseDirectoryWithoutRomsIsQuestionedAndNoKeepsTheWindowOpen) {
    const std::filesystem::path empty = roms.Path() / "no roms";
    std::filesystem::create_directories(empty);
    ts.settings.Write("Base Directory", empty.string());
    Open();
    ts.messages.Answer(MessageResult::No);
    Click("cmdApply");
    const auto question = test::TakeOne(ts.messages);
    EXPECT_EQ(question.title, "No ROMs found");
    EXPECT_EQ(question.text, "NOTE: No ROMs found in directory:\r" + empty.string() + "\rDo you wish to continue?");
    EXPECT_EQ(question.defaultButton, MessageResult::No);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Writes(), 0);

    // Yes goes on and saves everything but the version number, which stays
    // the main window's: 45 designed keys and Mednafen's two.
    Check("chkChangeLog", true);
    ts.messages.Answer(MessageResult::Yes);
    Click("cmdApply");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Writes(), 47);
    EXPECT_EQ(Stored("Version Number"), "(none)");
    EXPECT_EQ(Stored("Base Directory"), empty.string());
    EXPECT_EQ(Stored("Create Change Log"), "1");
}

// Mednafen's row names a program, not a directory; its message is the other
// emulators' in form.
TEST_F(OptionsTest, EveryMissingProgramIsReportedAndNothingIsSaved) {
    test::TempDir rboy, virte, rdrag;
    test::WriteBytes(virte.File("VIRTUALE.EXE"), {0});
    ts.settings.Write("Reality Boy Directory", rboy.Path().string());
    ts.settings.Write("Virtual-E Directory", virte.Path().string());
    ts.settings.Write("Red Dragon Directory", rdrag.Path().string());
    ts.settings.Write("Mednafen Program", virte.File("gone"));
    Open();
    for (const char* box : {"chkRboyEnabled", "chkVirteEnabled", "chkRdragEnabled", "chkMednafenEnabled"}) {
        Check(box, true);
    }
    Click("cmdApply");
    auto shown = ts.messages.Take();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "Can't find Rboy.exe or VB_98.exe in directory:\r" + rboy.Path().string() +
                                 "\rPlease choose another directory or disable this option.");
    EXPECT_EQ(shown[2].text, "Can't find the mednafen program:\r" + virte.File("gone") +
                                 "\rPlease choose another program or disable this option.");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Writes(), 0);
}

TEST_F(OptionsTest, ChangeChecksTheChosenDirectory) {
    test::TempDir norom;
    Open();
    WhenChooserShown(norom.Path().string());
    Click("cmdBaseDir");
    EXPECT_EQ(test::TakeOne(ts.messages).text,
              "No ROMs found in directory:\r" + norom.Path().string() + "\rPlease choose another directory.");
    EXPECT_EQ(Find("lblBaseDir")->toolTip(), Q(roms.Path().string())) << "the old path stays";

    Check("chkRboyEnabled", true);
    WhenChooserShown(roms.Path().string());
    Click("cmdRboyDir");
    EXPECT_EQ(test::TakeOne(ts.messages).text, "Can't find Rboy.exe or VB_98.exe in directory:\r" +
                                                   roms.Path().string() + "\rPlease choose another directory.");
}

TEST_F(OptionsTest, RecentListOffStoresZeroAndClearEmptiesItOnApply) {
    ts.settings.Write("Recent ROM #1", "/roms/a.vb");
    Open();
    ts.messages.Answer(MessageResult::No);
    Click("cmdMruItems");
    ts.messages.Answer(MessageResult::Yes);
    Click("cmdMruItems");
    EXPECT_EQ(ts.messages.Take().at(1).text, "Are you sure you want to clear all\nexisting recent ROM entries?");
    EXPECT_EQ(Stored("Recent ROM #1"), "/roms/a.vb") << "nothing is written before Apply";

    Check("chkMruItems", false);
    Click("cmdApply");
    EXPECT_EQ(Stored("Recent ROMs number"), "0");
    EXPECT_EQ(Stored("Recent ROM #1"), "");
}

TEST_F(OptionsTest, RevertToDefaultResetsTheWindowOnlyAndCancelKeepsTheStore) {
    ts.settings.Write("VB Main Menu Theme", "True");
    ts.settings.Write("Recent ROMs number", "9");
    ts.settings.Write("Create Change Log", "1");
    const auto before = ts.settings.Values();
    Open();
    ts.messages.Answer(MessageResult::Yes);
    ts.messages.Answer(MessageResult::No);
    Click("cmdDefault");
    EXPECT_EQ(ts.messages.Take().at(1).title, "Confirm revert to default");
    EXPECT_EQ(test::Checked(w.get(), {"chkIntro"}), "1") << "the second No keeps everything";

    ts.messages.Answer(MessageResult::Yes);
    ts.messages.Answer(MessageResult::Yes);
    Click("cmdDefault");
    EXPECT_EQ(test::Checked(w.get(), {"chkIntro", "chkChangeLog", "optThemeCol_0", "chkMruItems"}), "0010")
        << "all boxes go off";
    EXPECT_EQ(Find<QScrollBar>("vscMruItems")->value(), 4);
    EXPECT_EQ(Find("lblBaseDir")->toolTip(), Q(base::DefaultDirectory()));
    Click("cmdCancel");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(ts.settings.Values(), before);
}

// Left empty, Mednafen's program is looked for on PATH; Change... takes a
// program that runs, and says so of anything else.
TEST_F(OptionsTest, MednafenHasARowWithItsProgram) {
    test::TempDir bin;
    test::WriteExecutable(bin.File("mednafen"), "#!/bin/sh\n");
    test::WriteBytes(bin.File("readme"), {0});
    Open();
    auto* program = Find<QLineEdit>("txtMednafenProgram");
    Check("chkMednafenEnabled", true);

    ts.files.Choose(Q(bin.File("readme")));
    Click("cmdMednafenProgram");
    EXPECT_EQ(test::TakeOne(ts.messages).text,
              "Can't find the mednafen program:\r" + bin.File("readme") + "\rPlease choose another program.");
    EXPECT_EQ(program->text(), QString());
    ts.files.Choose(Q(bin.File("mednafen")));
    Click("cmdMednafenProgram");
    EXPECT_EQ(program->text(), Q(bin.File("mednafen")));

    // Enter in the box applies (the one default button).
    QTest::keyClick(program, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Stored("Mednafen Enabled") + Stored("Mednafen Program"), "True" + bin.File("mednafen"));
}
