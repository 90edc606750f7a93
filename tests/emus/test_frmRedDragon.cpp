// SPDX-License-Identifier: GPL-3.0-or-later
// The Red Dragon front-end driven through its controls: options.dat in and
// out, the run with or without a ROM, and the key hand-over.
#include <sys/stat.h>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <fstream>

#include "emus/FrontEndFixture.h"
#include "emus/frmRedDragon.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using base::MessageResult;

class RedDragonTest : public test::FrontEndTest<frmRedDragon> {
protected:
    RedDragonTest() { t.settings.Write("Red Dragon Directory", emu); }
    std::string OptionsFile() { return JoinPath(emu, "options.dat"); }
    void WriteOptions(const std::string& text) { std::ofstream(OptionsFile(), std::ios::binary) << text; }
    QListWidget* List(const char* name) { return Find<QListWidget>(name); }
    QString Selected(const char* list) {
        QListWidgetItem* item = List(list)->currentItem();
        return item != nullptr ? item->text() : QString();
    }
    int Index(const char* combo) { return Find<QComboBox>(combo)->currentIndex(); }
    /// The line of the written file for a key ("scrx=0320").
    std::string Line(const std::string& key) {
        const std::string text = test::FileText(OptionsFile());
        const std::size_t at = text.find("\n" + key + "=");
        return at == std::string::npos ? std::string() : text.substr(at + 1, text.find('\r', at) - at - 1);
    }
};

TEST_F(RedDragonTest, WithoutAFileTheDefaultsShowAndARunWritesZeros) {
    Open();
    EXPECT_EQ(Selected("lstScreenMode"), QStringLiteral("Autodetect"));
    EXPECT_EQ(List("lstScreenSize")->count(), 33);
    EXPECT_EQ(Selected("lstScreenSize"), QStringLiteral("   0x0"));
    EXPECT_EQ(Find<QSlider>("sliFrameskip")->toolTip(), QStringLiteral("0")) << "the number shows from the start";
    EXPECT_TRUE(Enabled("cmdRunRedDragon")) << "Red Dragon runs without a ROM";
    EXPECT_TRUE(Find<QWidget>("lstControls")->isHidden());

    Click("cmdRunRedDragon");
    EXPECT_TRUE(t.messages.Shown().empty());
    EXPECT_EQ(test::FileText(OptionsFile()), RedDragonOptionsText({})) << "every line 0000";
    ASSERT_EQ(t.recorder.requests.size(), 1u);
    EXPECT_TRUE(t.recorder.requests[0].arguments.empty());
}

// The reader's quirks are the core's tests; here the controls the file fills and what a run writes back.
TEST_F(RedDragonTest, TheFileFillsTheControlsAndChoicesChangeWhatIsWritten) {
    WriteOptions(
        "platform=0001\r\ndspmode=0003\r\ndspswap=0001\r\npalmod=0003\r\nscrx=0500\r\nscry=0500\r\n"
        "scrmode=0000\r\nfrmskip=0002\r\n");
    Open();
    EXPECT_EQ(Selected("lstScreenSize"), QStringLiteral(" 500x500")) << "a size not offered is added last";
    EXPECT_EQ(Find<QComboBox>("cmbDisplayMode")->currentText(), QStringLiteral("Over / Under"));
    EXPECT_EQ(Find<QComboBox>("cmbPalette")->currentText(), QStringLiteral("Red & Green"));
    EXPECT_TRUE(Find<QCheckBox>("chkSwap3D")->isChecked());

    List("lstScreenMode")->setCurrentRow(3);  // DirectDraw accel
    EXPECT_EQ(List("lstScreenSize")->count(), 10);
    List("lstScreenSize")->setCurrentRow(8);
    Find<QSlider>("sliFrameskip")->setValue(7);
    EXPECT_EQ(Find<QSlider>("sliFrameskip")->toolTip(), QStringLiteral("7"));
    Click("cmdRunRedDragon");
    EXPECT_EQ(test::FileText(OptionsFile()).substr(0, 70),
              "platform=0001\r\nfrmskip=0007\r\ndspmode=0003\r\ndspswap=0001\r\npalmod=0003\r\n");
    EXPECT_EQ(Line("scrmode") + Line("scrx") + Line("scry"), "scrmode=0004scrx=0800scry=0600");

    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertSettings");
    EXPECT_EQ(List("lstScreenSize")->count(), 32) << "reverting adds no size";
    EXPECT_EQ(Find<QSlider>("sliFrameskip")->value(), 2);

    List("lstScreenMode")->setCurrentRow(8);
    Find<QComboBox>("cmbVersion")->setCurrentIndex(1);
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertDefault");
    EXPECT_EQ(Selected("lstScreenSize"), QStringLiteral(" 640x480"));
    EXPECT_EQ(Index("cmbVersion"), 0);
    const auto asked = t.messages.Take();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], RevertToSavedQuestion());
    EXPECT_EQ(asked[1], RevertToDefaultQuestion());
}

TEST_F(RedDragonTest, KeyCodesGoOutAndBackThroughLstControls) {
    WriteOptions(
        "ba=0001\r\nbb=0002\r\ntl=0003\r\ntr=0004\r\nlu=0005\r\nld=0006\r\nll=0007\r\nlr=0008\r\n"
        "ru=0009\r\nrd=0010\r\nrl=0011\r\nrr=0012\r\nst=0013\r\nsl=0014\r\n");
    Open();

    // The key window reads the codes in member order, and its Default and
    // OK hand the default keys back in Red Dragon's numbering.
    QStringList shown;
    test::WhenModalShown([&shown](QWidget* config) {
        for (const char* name : {"cmdAButton", "cmdBButton", "cmdStart"}) {
            shown << config->findChild<QPushButton*>(QString::fromLatin1(name))->text();
        }
        QTest::mouseClick(config->findChild<QPushButton*>(QStringLiteral("cmdVirteDefault")), Qt::LeftButton);
        QTest::mouseClick(config->findChild<QPushButton*>(QStringLiteral("cmdVirteOK")), Qt::LeftButton);
    });
    t.messages.Answer(base::MessageResult::Yes);
    Click("cmdControlConfig");
    EXPECT_EQ(shown.join(QLatin1Char('|')), QStringLiteral("A a|B b|M m"));
    EXPECT_EQ(t.messages.Take().at(0).title, "Revert to default");
    auto* list = List("lstControls");
    ASSERT_EQ(list->count(), 14);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("13")) << "M, the A button's default";
    EXPECT_EQ(window->keys()[kKeyStart], 2) << "B, Start's default";

    // The codes reach the file at the next run, in Red Dragon's numbering.
    Click("cmdRunRedDragon");
    const std::string written = test::FileText(OptionsFile());
    for (const char* line :
         {"ba=0013\r\n", "bb=0014\r\n", "tl=0007\r\n", "lu=0005\r\n", "st=0002\r\n", "sl=0022\r\n", "rd=0072\r\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line << " in " << written;
    }
}

// The options file is a directory: it cannot be replaced.
TEST_F(RedDragonTest, AnUnwritableFileStopsTheRun) {
    std::filesystem::create_directory(OptionsFile());
    Open();
    Click("cmdRunRedDragon");
    EXPECT_NE(t.messages.Take().at(0).text.find("Red Dragon was not started."), std::string::npos);
    EXPECT_TRUE(t.recorder.requests.empty()) << "never started on stale options";
}

TEST_F(RedDragonTest, ARealRunStartsInRedDragonsDirectoryOnTheRom) {
    test::WriteRecordingEmulator(JoinPath(emu, "rdragon.exe"));
    WriteOptions("frmskip=0003\r\n");
    struct stat before {};
    ::stat(OptionsFile().c_str(), &before);
    Open(true);
    SelectRom(rom);

    Click("cmdRunRedDragon");
    EXPECT_TRUE(t.messages.Shown().empty());
    const auto record = test::WaitForRecord(emu);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (std::vector<std::string>{emu, rom}));
    EXPECT_EQ(Line("frmskip"), "frmskip=0003");
    struct stat after {};
    ::stat(OptionsFile().c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino) << "the file is replaced whole, not rewritten in place";
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(emu)) ++entries;
    EXPECT_EQ(entries, 3u) << "the emulator, its record and options.dat: no temporary file left";
}

}  // namespace
}  // namespace kestro::emus
