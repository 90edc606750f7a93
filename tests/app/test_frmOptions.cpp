// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "app/frmOptions.h"
#include "base/SettingsKeys.h"
#include "rom/RecentRomList.h"
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
    std::unique_ptr<app::frmOptions> Open() {
        auto window = std::make_unique<app::frmOptions>(ts.services);
        window->show();
        writesBefore = ts.settings.WriteCount();
        return window;
    }
    template <typename T = QWidget>
    static T* Find(QWidget* w, const char* name) {
        return test::FindChild<T>(w, name);
    }
    static void Click(QWidget* w, const char* name) { QTest::mouseClick(Find(w, name), Qt::LeftButton); }
    static void Check(QWidget* w, const char* name, bool on) { Find<QCheckBox>(w, name)->setChecked(on); }
    int Writes() const { return ts.settings.WriteCount() - writesBefore; }
    std::string Stored(const char* key) const { return ts.settings.Read(key, "(none)"); }

    test::TempDir roms;
    test::TestServices ts;
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
    auto w = Open();
    EXPECT_TRUE(Find<QRadioButton>(w.get(), "optThemeCol_1")->isChecked());
    const auto followers = {"optThemeCol_0", "optThemeCol_1", "lblMruItems", "vscMruItems", "lblMruItems1",
                            "cmdMruItems",   "chkMoveRoms",   "cmdVirteDir", "lblVirteDir"};
    EXPECT_EQ(test::Enabled(w.get(), followers), "111111100");
    auto* count = Find<QLabel>(w.get(), "lblMruItems");
    EXPECT_EQ(count->text(), QStringLiteral("6"));
    EXPECT_TRUE(Find<QCheckBox>(w.get(), "chkMoveRoms")->isChecked());
    for (auto [box, on] : {std::pair{"chkIntro", false}, std::pair{"chkMruItems", false},
                           std::pair{"chkRenameRoms", false}, std::pair{"chkVirteEnabled", true}}) {
        Check(w.get(), box, on);
    }
    EXPECT_EQ(test::Enabled(w.get(), followers), "000000011");
    EXPECT_EQ(count->text(), QStringLiteral("0"));
    EXPECT_FALSE(Find<QCheckBox>(w.get(), "chkMoveRoms")->isChecked());
    Check(w.get(), "chkMruItems", true);
    EXPECT_EQ(count->text(), QStringLiteral("6")) << "back to the stored number";
    auto* arrows = Find<QScrollBar>(w.get(), "vscMruItems");
    QTest::mouseClick(arrows, Qt::LeftButton, Qt::NoModifier, QPoint(arrows->width() / 2, 3));
    EXPECT_EQ(count->text(), QStringLiteral("7")) << "the upper arrow counts up";
}

TEST_F(OptionsTest, ABaseDirectoryWithoutRomsIsQuestionedAndNoKeepsTheWindowOpen) {
    test::TempDir empty;
    ts.settings.Write("Base Directory", empty.Path().string());
    auto w = Open();
    ts.messages.Answer(MessageResult::No);
    Click(w.get(), "cmdApply");
    const auto question = test::TakeOne(ts.messages);
    EXPECT_EQ(question.title, "No ROMs found");
    EXPECT_EQ(question.text,
              "NOTE: No ROMs found in directory:\r" + empty.Path().string() + "\rDo you wish to continue?");
    EXPECT_EQ(question.defaultButton, MessageResult::No);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Writes(), 0);

    // Yes goes on and saves everything but the version number, which stays
    // the main window's: 45 designed keys and Mednafen's two.
    Check(w.get(), "chkChangeLog", true);
    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdApply");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Writes(), 47);
    EXPECT_EQ(Stored("Version Number"), "(none)");
    EXPECT_EQ(Stored("Base Directory"), empty.Path().string());
    EXPECT_EQ(Stored("Create Change Log"), "1");
}

TEST_F(OptionsTest, EveryMissingProgramIsReportedAndNothingIsSaved) {
    test::TempDir rboy, virte, rdrag;
    test::WriteBytes(virte.File("VIRTUALE.EXE"), {0});
    ts.settings.Write("Reality Boy Directory", rboy.Path().string());
    ts.settings.Write("Virtual-E Directory", virte.Path().string());
    ts.settings.Write("Red Dragon Directory", rdrag.Path().string());
    auto w = Open();
    for (const char* box : {"chkRboyEnabled", "chkVirteEnabled", "chkRdragEnabled"}) Check(w.get(), box, true);
    Click(w.get(), "cmdApply");
    auto shown = ts.messages.Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Can't find Rboy.exe or VB_98.exe in directory:\r" + rboy.Path().string() +
                                 "\rPlease choose another directory or disable this option.");
    EXPECT_EQ(shown[1].text.substr(0, 37), "Can't find RDRAGON.EXE in directory:\r");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Writes(), 0);
}

TEST_F(OptionsTest, ChangeChecksTheChosenDirectory) {
    test::TempDir norom;
    auto w = Open();
    auto* label = Find<QLabel>(w.get(), "lblBaseDir");

    WhenChooserShown(norom.Path().string());
    Click(w.get(), "cmdBaseDir");
    EXPECT_EQ(test::TakeOne(ts.messages).text,
              "No ROMs found in directory:\r" + norom.Path().string() + "\rPlease choose another directory.");
    EXPECT_EQ(label->toolTip(), Q(roms.Path().string())) << "the old path stays";

    Check(w.get(), "chkRboyEnabled", true);
    WhenChooserShown(roms.Path().string());
    Click(w.get(), "cmdRboyDir");
    EXPECT_EQ(test::TakeOne(ts.messages).text, "Can't find Rboy.exe or VB_98.exe in directory:\r" +
                                                   roms.Path().string() + "\rPlease choose another directory.");
    EXPECT_EQ(Find(w.get(), "lblRboyDir")->toolTip(), Q(base::DefaultDirectory()));
}

TEST_F(OptionsTest, LongPathsAreShortenedButStoredWhole) {
    std::filesystem::path deep = roms.Path();
    for (const char* part : {"a rather long folder name", "another long folder name", "virtual boy roms"}) deep /= part;
    std::filesystem::create_directories(deep);
    test::WriteBytes((deep / "wario.vb").string(), {0});
    ts.settings.Write("Base Directory", deep.string());
    auto w = Open();
    auto* label = Find<QLabel>(w.get(), "lblBaseDir");
    const QString shownText = label->text();
    EXPECT_TRUE(shownText.endsWith(QStringLiteral("..."))) << shownText.toStdString();
    EXPECT_TRUE(Q(deep.string()).startsWith(shownText.chopped(3)));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shownText), label->contentsRect().width());
    EXPECT_EQ(Find<QLabel>(w.get(), "lblRboyDir")->text(), Q(base::DefaultDirectory())) << "a short path shows whole";
    Click(w.get(), "cmdApply");
    EXPECT_EQ(Stored("Base Directory"), deep.string());
}

TEST_F(OptionsTest, RecentListOffStoresZeroAndClearEmptiesItOnApply) {
    ts.settings.Write("Recent ROM #1", "/roms/a.vb");
    ts.settings.Write("Recent ROM #2", "/roms/b.vb");
    auto w = Open();
    ts.messages.Answer(MessageResult::No);
    Click(w.get(), "cmdMruItems");
    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdMruItems");
    EXPECT_EQ(ts.messages.Take().at(1).text, "Are you sure you want to clear all\nexisting recent ROM entries?");
    EXPECT_EQ(Stored("Recent ROM #1"), "/roms/a.vb") << "nothing is written before Apply";

    Check(w.get(), "chkMruItems", false);
    Click(w.get(), "cmdApply");
    EXPECT_EQ(Stored("Recent ROMs number"), "0");
    EXPECT_EQ(Stored("Recent ROM #1"), "");
    rom::RecentRomList list(ts.settings);
    list.Load();
    EXPECT_FALSE(list.Menu().submenuVisible) << "the recent menus are gone";
}

TEST_F(OptionsTest, RevertToDefaultResetsTheWindowOnlyAndCancelKeepsTheStore) {
    ts.settings.Write("VB Main Menu Theme", "True");
    ts.settings.Write("Recent ROMs number", "9");
    ts.settings.Write("White Tile Red", "12");
    ts.settings.Write("Create Change Log", "1");
    const auto before = ts.settings.Values();
    auto w = Open();
    ts.messages.Answer(MessageResult::Yes);
    ts.messages.Answer(MessageResult::No);
    Click(w.get(), "cmdDefault");
    EXPECT_EQ(ts.messages.Take().at(1).title, "Confirm revert to default");

    ts.messages.Answer(MessageResult::Yes);
    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdDefault");
    EXPECT_EQ(test::Checked(w.get(), {"chkIntro", "chkChangeLog", "optThemeCol_0", "chkMruItems"}), "0010")
        << "all boxes go off";
    EXPECT_EQ(Find<QScrollBar>(w.get(), "vscMruItems")->value(), 4);
    EXPECT_EQ(Find(w.get(), "lblBaseDir")->toolTip(), Q(base::DefaultDirectory()));
    Click(w.get(), "cmdCancel");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(ts.settings.Values(), before);
}

// Mednafen's row names a program, not a directory; left empty it is looked
// for on PATH. Its messages are the other emulators' in form.
TEST_F(OptionsTest, MednafenHasARowWithItsProgram) {
    test::TempDir bin;
    test::WriteExecutable(bin.File("mednafen"), "#!/bin/sh\n");
    test::WriteBytes(bin.File("readme"), {0});
    auto w = Open();
    auto* program = Find<QLineEdit>(w.get(), "txtMednafenProgram");
    EXPECT_EQ(test::Enabled(w.get(), {"txtMednafenProgram", "cmdMednafenProgram"}), "00");
    Check(w.get(), "chkMednafenEnabled", true);
    EXPECT_EQ(test::Enabled(w.get(), {"txtMednafenProgram", "cmdMednafenProgram"}), "11");

    // Change... takes a program that runs, and says so of anything else.
    ts.files.Choose(Q(bin.File("readme")));
    Click(w.get(), "cmdMednafenProgram");
    const auto refusal = test::TakeOne(ts.messages);
    EXPECT_EQ(refusal.title, "Emulator not found");
    EXPECT_EQ(refusal.text,
              "Can't find the mednafen program:\r" + bin.File("readme") + "\rPlease choose another program.");
    EXPECT_EQ(program->text(), QString());
    ts.files.Choose(Q(bin.File("mednafen")));
    Click(w.get(), "cmdMednafenProgram");
    EXPECT_EQ(program->text(), Q(bin.File("mednafen")));

    program->setText(Q(bin.File("gone")));
    Click(w.get(), "cmdApply");
    EXPECT_EQ(test::TakeOne(ts.messages).text, "Can't find the mednafen program:\r" + bin.File("gone") +
                                                   "\rPlease choose another program or disable this option.");
    EXPECT_EQ(Writes(), 0);

    // Enter in the box applies (the one default button), and what was typed is kept.
    program->setText(Q(bin.File("mednafen")));
    QTest::keyClick(program, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Stored("Mednafen Enabled") + Stored("Mednafen Program"), "True" + bin.File("mednafen"));
}
