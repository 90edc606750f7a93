// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "base/SettingsKeys.h"
#include "platform/PercentBar.h"
#include "platform/Text.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/frmVbRomDatabase.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using base::MessageResult;
using platform::Q;
using romdb::frmVbRomDatabase;

namespace {

class DatabaseWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ts.settings.Write("Base Directory", dir.Path().string()); }

    std::unique_ptr<frmVbRomDatabase> Open() {
        return std::make_unique<frmVbRomDatabase>(ts.services, nullptr, &files);
    }
    template <typename T = QPushButton>
    static T* Find(QWidget* w, const char* name) {
        T* child = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void Click(QWidget* w, const char* name) { QTest::mouseClick(Find<QWidget>(w, name), Qt::LeftButton); }
    static bool Enabled(QWidget* w, const char* name) { return Find<QWidget>(w, name)->isEnabled(); }
    static std::vector<std::string> Lines(QWidget* w) {
        std::vector<std::string> lines;
        auto* list = Find<QListWidget>(w, "lstFileIdentify");
        for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text().toStdString());
        return lines;
    }
    std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (const auto& m : ts.messages.Take()) titles.push_back(m.title);
        return titles;
    }

    test::TempDir dir;
    test::TestServices ts;
    test::FaultyFileOps files;
};

const char* const kReportButtons[] = {"cmdVboyHave", "cmdVboyMiss", "cmdVBoyDupes", "cmdSaveVboy", "cmdVBoyLog"};

}  // namespace

TEST_F(DatabaseWindowTest, OpensOnTheBaseDirectoryWithRunControlsReady) {
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]");
    test::WriteBytes(dir.File("a.vb"), {});
    auto w = Open();
    EXPECT_EQ(Lines(w.get()),
              (std::vector<std::string>{"a.vb    - [YET TO BE IDENTIFIED]", "golf.vb - [YET TO BE IDENTIFIED]"}));
    EXPECT_EQ(Find<QLabel>(w.get(), "lblRomDir")->text().toStdString(), dir.File("*.vb"));
    EXPECT_TRUE(Enabled(w.get(), "cmdIdentifyRoms"));
    EXPECT_FALSE(Enabled(w.get(), "cmdCancelIdentify"));
    for (const char* name : kReportButtons) EXPECT_FALSE(Enabled(w.get(), name)) << name;
    auto help = test::WhenHelpShown();
    Find<QAction>(w.get(), "mnuHelpHelp")->trigger();
    EXPECT_EQ(help->caption.toStdString(), "VB ROM Database Help");

    // A base directory that is gone still opens the window, on an empty listing.
    ts.settings.Write("Base Directory", dir.File("gone"));
    auto empty = Open();
    EXPECT_EQ(Titles(), std::vector<std::string>{"No ROMs found"});
    EXPECT_FALSE(Enabled(empty.get(), "cmdIdentifyRoms"));
    EXPECT_TRUE(Lines(empty.get()).empty());
}

TEST_F(DatabaseWindowTest, RunShowsStatusesProgressAndReportButtons) {
    test::WriteMixedCollection(dir.Path());
    auto w = Open();
    std::vector<int> shownProgress;
    auto* bar = Find<platform::PercentBar>(w.get(), "picPercent");
    files.beforeOpen = [&](const std::string&) {
        shownProgress.push_back(bar->Percent());
        EXPECT_TRUE(bar->isEnabled() && Enabled(w.get(), "cmdCancelIdentify") && !Enabled(w.get(), "chkRenameRoms"));
    };
    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdIdentifyRoms");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Continue operation?", "Complete"}));
    // 13 files: the bar shows each file's start, 100 / 13 apart.
    EXPECT_EQ(shownProgress.at(2), 8);
    EXPECT_TRUE(Enabled(w.get(), "cmdSaveVboy") && Enabled(w.get(), "cmdIdentifyRoms"));
    EXPECT_FALSE(Enabled(w.get(), "cmdVBoyLog") || Enabled(w.get(), "cmdCancelIdentify") || bar->isEnabled());

    // A summary, then (answered Yes) the full report in the help window.
    auto help = test::WhenHelpShown();
    ts.messages.Answer(MessageResult::No);
    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdVBoyDupes");
    Click(w.get(), "cmdVboyHave");
    EXPECT_EQ(help->caption.toStdString(), "Collected Virtual Boy ROMs");
    EXPECT_TRUE(help->text.startsWith(QStringLiteral("Good ROMs:\n  Golf (U) [!]\n  Red Alarm (U) [!]\n")));

    Click(w.get(), "cmdSaveVboy");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Duplicate VB ROM details", "Collected VB ROM details", "Files saved"}));
}

TEST_F(DatabaseWindowTest, CancelConfirmedDuringTheRunStopsAtTheNextFile) {
    for (const char* name : {"1.vb", "2.vb", "3.vb", "4.vb", "5.vb"})
        test::WriteKnown(dir.Path(), name, "Golf (U) [!]");
    auto w = Open();
    files.beforeOpen = [&](const std::string& path) {
        // The user clicks Cancel Identify while the third file is read; the
        // click arrives when the run next lets events run.
        if (path.size() >= 4 && path.substr(path.size() - 4) == "3.vb") {
            QTimer::singleShot(0, [&] { Click(w.get(), "cmdCancelIdentify"); });
        }
    };
    ts.messages.Answer(MessageResult::Yes);  // go
    ts.messages.Answer(MessageResult::Yes);  // stop
    Click(w.get(), "cmdIdentifyRoms");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Continue operation?", "Cancel operation?", "Cancelled"}));
    EXPECT_EQ(Lines(w.get()),
              (std::vector<std::string>{"1.vb - Golf (U) [!]", "2.vb - Golf (U) [!]", "3.vb - Golf (U) [!]",
                                        "4.vb - [YET TO BE IDENTIFIED]", "5.vb - [YET TO BE IDENTIFIED]"}));
    for (const char* name : kReportButtons) EXPECT_FALSE(Enabled(w.get(), name)) << name;
    EXPECT_TRUE(Enabled(w.get(), "cmdIdentifyRoms") && Enabled(w.get(), "chkRenameRoms"));

    // A double click shows the detail report (its text is the core's test) of that file.
    auto* list = Find<QListWidget>(w.get(), "lstFileIdentify");
    list->setCurrentRow(4);
    Q_EMIT list->itemDoubleClicked(list->item(4));
    EXPECT_NE(ts.messages.Take().at(0).text.find("\r5.vb:\r"), std::string::npos);
}

TEST_F(DatabaseWindowTest, OptionBoxesFollowAndStoreTheirSettings) {
    ts.settings.Write("Rename ROMs", "1");
    ts.settings.Write("Move ROMs", "1");
    ts.settings.Write("Create Change Log", "1");
    ts.settings.Write("Detailed ROM Lists", "garbage");
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]");
    auto w = Open();
    auto* rename = Find<QCheckBox>(w.get(), "chkRenameRoms");
    auto* move = Find<QCheckBox>(w.get(), "chkMoveRoms");
    EXPECT_TRUE(rename->isChecked() && move->isChecked() && move->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(w.get(), "chkDetailedList")->isChecked());

    Click(w.get(), "chkRenameRoms");  // unchecking rename unchecks and disables move
    EXPECT_FALSE(move->isChecked() || move->isEnabled());
    EXPECT_EQ(ts.settings.Read("Move ROMs", "") + ts.settings.Read("Rename ROMs", ""), "00");
    Click(w.get(), "chkChangeLog");
    EXPECT_EQ(Find(w.get(), "cmdSaveVboy")->text().toStdString(), "Save Have/Miss/ Duplicates Lists");
    EXPECT_EQ(ts.settings.Read("Create Change Log", ""), "0");
    Click(w.get(), "chkDetailedList");
    EXPECT_EQ(ts.settings.Read("Detailed ROM Lists", ""), "1");
}

TEST_F(DatabaseWindowTest, RenameAndMoveEndsOnVBoyRenWithTheChangeLog) {
    ts.settings.Write("Rename ROMs", "1");
    ts.settings.Write("Move ROMs", "1");
    ts.settings.Write("Create Change Log", "1");
    test::WriteMixedCollection(dir.Path());
    auto w = Open();
    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdIdentifyRoms");
    EXPECT_EQ(Find<QLabel>(w.get(), "lblRomDir")->text().toStdString(), dir.File("VBoyRen/*.vb"));

    auto help = test::WhenHelpShown();
    Click(w.get(), "cmdVBoyLog");
    EXPECT_EQ(help->caption.toStdString(), "Virtual Boy ROMs Change Log");
    EXPECT_TRUE(help->text.contains(QString::fromStdString("Rename directory: " + dir.File("VBoyRen/") + " created")));
}

TEST_F(DatabaseWindowTest, DatChosenByDialogIsRememberedAndMissingGamesCanBeSaved) {
    test::WriteDatCollection(dir.Path());
    const std::string datPath = dir.File("vb.dat");
    const std::string xml = test::LogiqxDat("Virtual Boy", test::CollectionGames());
    test::WriteText(datPath, xml);
    test::WriteText(dir.File("cut.dat"), xml.substr(0, 300));
    auto w = Open();
    EXPECT_EQ(Lines(w.get()).size(), 8u) << "the built-in table lists the .vb files only";

    // A DAT that cannot be read is refused with its line; the table stays.
    ts.files.Choose(Q(dir.File("cut.dat")));
    Click(w.get(), "cmdChooseDat");
    auto refused = ts.messages.Take().at(0);
    EXPECT_EQ(refused.title, "DAT file not read");
    EXPECT_NE(refused.text.find(": line "), std::string::npos) << refused.text;
    EXPECT_TRUE(Find<QRadioButton>(w.get(), "optBuiltIn")->isChecked());

    ts.files.Choose(Q(datPath));
    Click(w.get(), "cmdChooseDat");
    EXPECT_TRUE(Find<QRadioButton>(w.get(), "optDatFile")->isChecked());
    EXPECT_EQ(Find<QLabel>(w.get(), "lblDatFile")->text().toStdString(), "Virtual Boy (9 games)");
    EXPECT_EQ(Lines(w.get()).size(), 12u) << "archives are listed entry by entry";

    ts.messages.Answer(MessageResult::Yes);
    Click(w.get(), "cmdIdentifyRoms");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Continue operation?", "Files not read", "Complete"}));

    // "Display Missing": the summary, then the offer to save the missing games.
    ts.messages.Answer(MessageResult::No);
    ts.messages.Answer(MessageResult::Yes);
    ts.files.Choose(Q(dir.File("missing.csv")));
    Click(w.get(), "cmdVboyMiss");
    EXPECT_EQ(Titles(),
              (std::vector<std::string>{"Missing VB ROM details", "Save missing games?", "Missing games saved"}));
    EXPECT_EQ(test::FileText(dir.File("missing.csv")).substr(0, 44), "name,size,crc,sha1\r\nJack Bros. (Japan),65536");
    for (MessageResult answer : {MessageResult::No, MessageResult::Yes}) ts.messages.Answer(answer);
    ts.files.Choose(Q(dir.File("bare")));  // a typed name without extension is saved as a DAT
    Click(w.get(), "cmdVboyMiss");
    EXPECT_EQ(Titles().back(), "Missing games saved");
    EXPECT_NE(test::FileText(dir.File("bare.dat")).find("Jack Bros. (Japan)"), std::string::npos);

    // The choice is there again next time, and the table can be chosen back.
    w.reset();
    auto again = Open();
    EXPECT_EQ(Lines(again.get()).size(), 12u);
    Click(again.get(), "optBuiltIn");
    EXPECT_EQ(ts.settings.Read("Collection DAT File", "?"), "");
    EXPECT_EQ(Lines(again.get()).size(), 8u);
    Click(again.get(), "optDatFile");  // the DAT read before is used again without a dialog
    EXPECT_EQ(Lines(again.get()).size(), 12u);
    EXPECT_TRUE(ts.messages.Take().empty());
}
