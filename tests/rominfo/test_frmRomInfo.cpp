// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/Text.h"
#include "rominfo/frmRomInfo.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;
using base::MessageIcon;
using base::MessageResult;
using test::RomBuilder;

namespace {

class RomInfoTest : public ::testing::Test {
protected:
    // The window, shown, with the ROM of that name in the test's directory opened.
    void Open(const char* rom = nullptr, bool autoDetect = true) {
        ts.settings.Write("Auto Detect ROM", autoDetect ? "True" : "False");
        ts.settings.Write("Base Directory", dir.Path().string());
        w = std::make_unique<rominfo::frmRomInfo>(ts.services);
        w->show();
        if (rom != nullptr) w->OpenRom(Path(rom));
    }
    // Runs a menu command with these answers to its questions; the boxes it showed.
    std::vector<base::Message> Do(const char* action, std::initializer_list<MessageResult> answers = {}) {
        for (MessageResult answer : answers) ts.messages.Answer(answer);
        Find<QAction>(w.get(), action)->trigger();
        return ts.messages.Take();
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(w.get(), name); }
    static void Press(QWidget* in, const char* name) { QTest::mouseClick(Find<QPushButton>(in, name), Qt::LeftButton); }
    template <typename T>
    static T* Find(QObject* in, const char* name) {
        return test::FindChild<T>(in, name);
    }
    QString Text(const char* name) { return Find<QLabel>(w.get(), name)->text(); }
    QString Path(const char* name) const { return QString::fromStdString(dir.File(name)); }

    test::TempDir dir;
    test::TestServices ts;
    std::unique_ptr<rominfo::frmRomInfo> w;
};

}  // namespace

TEST_F(RomInfoTest, RefusedFilesShowTheirMessageLeaveTheRecentListAndReset) {
    test::WriteBytes(dir.File("small.vb"), std::vector<std::uint8_t>(544, 0));
    RomBuilder().Reserved(2, 0x01).WriteTo(dir.File("reserved.vb"));
    RomBuilder::Unknown().WriteTo(dir.File("good.vb"));
    ts.settings.Write("Recent ROM #1", dir.File("reserved.vb"));
    Open("good.vb");
    ASSERT_TRUE(Find<QAction>(w.get(), "mnuFileSave")->isEnabled());

    const std::pair<const char*, const char*> refusals[] = {
        {"small.vb", "File too small to be a VB ROM image."},
        {"reserved.vb", "Invalid VB ROM image."},
        {"missing.vb", "File does not exist."},
    };
    for (auto [name, text] : refusals) {
        w->OpenRom(Path(name));
        const auto shown = test::TakeOne(ts.messages);
        EXPECT_EQ(shown.text, text) << name;
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("ROM Information - [No ROM Loaded]"));
        EXPECT_EQ(test::Enabled(w.get(), {"mnuFileSave", "fraTitle"}), "00");
        EXPECT_EQ(Edit("txtRomId")->text() + Edit("txtManufacturer")->text(), QString()) << "the fields are cleared";
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.vb"))) << "opening never creates a file";
    EXPECT_EQ(ts.settings.Read("Recent ROM #1", ""), dir.File("good.vb"));
    EXPECT_EQ(ts.settings.Read("Recent ROM #2", "?"), "") << "a refused path leaves the list";
}

TEST_F(RomInfoTest, IdentificationLabelsEveryClassAndRevertRestoresTheKnownHeader) {
    RomBuilder::KnownDump("Mario Clash (JU) [!]").WriteTo(dir.File("good.vb"));
    RomBuilder::KnownDump("Mario Clash (JU) [!]").GameCode("VMCE").Title("CLASH").WriteTo(dir.File("hack.vb"));
    RomBuilder::Unknown().WriteTo(dir.File("unknown.vb"));
    Open();
    auto* revert = Find<QPushButton>(w.get(), "cmdRevert");

    const std::tuple<const char*, const char*, bool> expected[] = {
        {"good.vb", "Mario Clash (JU) [!]", true},
        {"unknown.vb", "[UNKNOWN VB ROM]  -  Please send me a copy.", false},
        {"hack.vb", "Mario Clash (JU) [h]", true},
    };
    for (auto [name, label, canRevert] : expected) {
        w->OpenRom(Path(name));
        EXPECT_EQ(Text("lblIdentify"), QString::fromLatin1(label)) << name;
        EXPECT_EQ(revert->isEnabled(), canRevert) << name;
    }
    EXPECT_EQ(Text("lblChecksum"), QStringLiteral("0681D85B"));

    QTest::mouseClick(revert, Qt::LeftButton);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ROM Information - [MARIO CLASH]"));

    // Saved with the known header, the file is a good dump again.
    EXPECT_EQ(Do("mnuFileSave", {MessageResult::Yes}).at(0).text, "Are you sure you want to save [MARIO CLASH]?");
    w->OpenRom(Path("hack.vb"));
    EXPECT_EQ(Text("lblIdentify"), QStringLiteral("Mario Clash (JU) [!]"));
}

TEST_F(RomInfoTest, SaveAsksFirstAndSaveAsReplacesALongerFileExactly) {
    const auto original = RomBuilder().Title("GOLF").Maker("01").GameCode("VVGE").Size(4096).WriteTo(dir.File("a.vb"));
    const std::size_t block = 4096 - 544;
    test::WriteBytes(dir.File("longer.vb"), std::vector<std::uint8_t>(10000, 0x55));
    Open("a.vb");
    EXPECT_EQ(Text("lblMbit"), QStringLiteral("4096 Bytes  (0.03125 MBit)"));
    Edit("txtRomId")->setText(QStringLiteral("VVGJ"));
    Find<QComboBox>(w.get(), "cmbVersion")->setCurrentIndex(255);

    const auto question = Do("mnuFileSave", {MessageResult::No});
    ASSERT_EQ(question.size(), 1u);
    EXPECT_EQ(question[0].title, "Save new ROM info?");
    EXPECT_EQ(question[0].defaultButton, MessageResult::No);
    EXPECT_EQ(test::ReadBytes(dir.File("a.vb")), original) << "No leaves the file byte for byte";

    // Replace question answered No: the other file is untouched. The type's extension is added.
    ts.files.Choose(Path("longer"));
    EXPECT_EQ(Do("mnuFileSaveAs", {MessageResult::No}).at(0).text,
              dir.File("longer.vb") + " already exists.\rDo you wish to replace it?");
    EXPECT_EQ(test::ReadBytes(dir.File("longer.vb")).size(), 10000u);

    ts.files.Choose(Path("longer"));
    Do("mnuFileSaveAs", {MessageResult::Yes});
    const auto saved = test::ReadBytes(dir.File("longer.vb"));
    ASSERT_EQ(saved.size(), original.size());
    EXPECT_EQ(saved[block + 0x1F], 0xFF) << "version 1.255";
    EXPECT_EQ(std::string(saved.begin() + block + 0x1B, saved.begin() + block + 0x1F), "VVGJ");
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + block, original.begin()));
    EXPECT_EQ(test::ReadBytes(dir.File("a.vb")), original) << "Save As leaves the first file alone";
    EXPECT_EQ(ts.settings.Read("Recent ROM #1", ""), dir.File("longer.vb"));
}

TEST_F(RomInfoTest, AFailedSaveSaysWhyAndKeepsTheRomOnItsFile) {
    const auto original = RomBuilder::Unknown().WriteTo(dir.File("a.vb"));
    Open("a.vb");
    Edit("txtRomId")->setText(QStringLiteral("VXXE"));
    ts.files.Choose(Path("no-such-folder/b.vb"));
    const auto shown = Do("mnuFileSaveAs");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Save failed");
    EXPECT_NE(shown[0].text.find("\r" + dir.File("no-such-folder/b.vb") + "\r"), std::string::npos);
    EXPECT_NE(shown[0].text.find("\rThe file was left as it was."), std::string::npos);
    EXPECT_EQ(Text("lblFileName"), Path("a.vb"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("no-such-folder")));
    EXPECT_EQ(test::ReadBytes(dir.File("a.vb")), original);
}

// The code boxes upper-case what is typed, the caret staying where it was;
// the maker list follows the box and the box the list. Enter in them presses
// no button: neither the title editor nor Revert.
TEST_F(RomInfoTest, CodeBoxesUpperCaseAndTheMakerListFollows) {
    RomBuilder::KnownDump("Golf (U) [!]").WriteTo(dir.File("a.vb"));
    Open("a.vb");
    auto* maker = Edit("txtManufacturer");
    auto* makers = Find<QComboBox>(w.get(), "cmbManufacturer");
    auto* gameCode = Edit("txtRomId");
    EXPECT_EQ(makers->currentText(), QStringLiteral("Nintendo"));
    maker->clear();
    QTest::keyClicks(maker, QStringLiteral("e4"));
    EXPECT_EQ(maker->text() + makers->currentText(), QStringLiteral("E4T&E Soft"));
    makers->setCurrentIndex(4);
    Q_EMIT makers->activated(4);
    EXPECT_EQ(maker->text() + makers->currentText(), QStringLiteral("67Ocean"));

    gameCode->clear();
    QTest::keyClicks(gameCode, QStringLiteral("vmj"));
    gameCode->setCursorPosition(2);
    QTest::keyClicks(gameCode, QStringLiteral("c"));
    EXPECT_EQ(gameCode->text(), QStringLiteral("VMCJ"));
    EXPECT_EQ(gameCode->cursorPosition(), 3);
    ASSERT_TRUE(Find<QPushButton>(w.get(), "cmdRevert")->isEnabled());
    EXPECT_FALSE(test::KeyOpensModal(gameCode, Qt::Key_Enter));
    EXPECT_EQ(gameCode->text(), QStringLiteral("VMCJ"));
}

TEST_F(RomInfoTest, RecentItemsOpenTheirRom) {
    RomBuilder::Unknown().WriteTo(dir.File("a.vb"));
    RomBuilder::Unknown().WriteTo(dir.File("b.vb"));
    Open("a.vb");
    w->OpenRom(Path("b.vb"));
    auto* item1 = Find<QAction>(w.get(), "mnuFileRecent1");
    EXPECT_EQ(item1->text(), QStringLiteral("&1 ") + Path("a.vb"));

    item1->trigger();
    EXPECT_EQ(Text("lblFileName"), Path("a.vb"));
    EXPECT_EQ(ts.settings.Read("Recent ROM #1", ""), dir.File("a.vb"));
}

TEST_F(RomInfoTest, TitleEditorInsertsKatakanaAndOkWritesItBack) {
    RomBuilder().Title("V").Maker("8B").GameCode("VTRJ").WriteTo(dir.File("v.vb"));
    Open("v.vb");
    test::WhenModalShown([&](QWidget* ime) {
        auto* box = Find<QLineEdit>(ime, "txtRomTitle");
        EXPECT_EQ(box->maxLength(), 20);
        Press(ime, "cmdKatakana_60");
        QTest::keyClicks(box, QStringLiteral("TETRIS"));
        // Three selected characters become one code, and the caret follows it.
        box->setSelection(2, 3);
        Press(ime, "cmdKatakana_1");
        EXPECT_EQ(box->cursorPosition(), 3);
        box->setSelection(2, 1);
        box->insert(QStringLiteral("TET"));
        Press(ime, "cmdOK");
    });
    Press(w.get(), "cmdJapaneseIme");
    EXPECT_EQ(w->TitleBytes(), "V\xA5TETRIS");
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("ROM Information - [V\u00B7TETRIS]"));
    EXPECT_EQ(Find<QLabel>(w.get(), "lblTitle")->toolTip(), QString::fromUtf8("V\u00B7TETRIS"));
}

// Opened without automatic identification: no checksum is taken. A control
// byte in the title is left out of the caption, and kept on save, as every
// untouched byte is.
TEST_F(RomInfoTest, CodeFieldsAreSingleBytesThatSaveBackAsTheyWere) {
    const auto original = RomBuilder()
                              .Title(std::string("GOLF\0", 5))
                              .Maker("\xFF\xE9")
                              .GameCode("V\xA5G\x7F")
                              .Size(4096)
                              .WriteTo(dir.File("a.vb"));
    const std::size_t block = 4096 - 544;
    Open("a.vb", false);
    EXPECT_FALSE(Find<QGroupBox>(w.get(), "fraIdentify")->isVisibleTo(w.get()));
    EXPECT_TRUE(Text("lblChecksum").isEmpty());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ROM Information - [GOLF]"));
    auto* gameCode = Edit("txtRomId");
    EXPECT_EQ(Edit("txtManufacturer")->text(), QString::fromLatin1("\xFF\xE9"));
    EXPECT_EQ(Find<QComboBox>(w.get(), "cmbManufacturer")->currentIndex(), -1);
    Do("mnuFileSave", {MessageResult::Yes});
    EXPECT_EQ(test::ReadBytes(dir.File("a.vb")), original);

    // A typed Latin-1 letter is one byte, and upper-casing leaves it alone.
    gameCode->clear();
    QTest::keyClicks(gameCode, QStringLiteral("v"));
    QTest::sendKeyEvent(QTest::Click, gameCode, Qt::Key_Eacute, QString::fromLatin1("\xE9"), Qt::NoModifier);
    QTest::keyClicks(gameCode, QStringLiteral("j"));
    EXPECT_EQ(gameCode->text(), QString::fromLatin1("V\xE9J"));
    Do("mnuFileSave", {MessageResult::Yes});
    const auto saved = test::ReadBytes(dir.File("a.vb"));
    ASSERT_EQ(saved.size(), original.size());
    EXPECT_EQ(std::string(saved.begin() + block + 0x19, saved.begin() + block + 0x1F), "\xFF\xE9V\xE9J ");
}
