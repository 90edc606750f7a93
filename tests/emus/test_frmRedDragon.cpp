// SPDX-License-Identifier: GPL-3.0-or-later
// The Red Dragon front-end driven through its controls: options.dat in and
// out, the run with or without a ROM, and the key hand-over. How the file is
// read and how a form turns into it are the core's tests.
#include <sys/stat.h>
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
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
    /// The line of the written file for a key ("scrx=0320").
    std::string Line(const std::string& key) {
        const std::string text = test::FileText(OptionsFile());
        const std::size_t at = text.find("\n" + key + "=");
        return at == std::string::npos ? std::string() : text.substr(at + 1, text.find('\r', at) - at - 1);
    }
};

TEST_F(RedDragonTest, WithoutAFileTheDefaultsShowAndARunWithoutARomWritesZerosUnlessItCannot) {
    Open();
    Click("cmdRunRedDragon");
    EXPECT_TRUE(t.messages.Shown().empty());
    EXPECT_EQ(test::FileText(OptionsFile()), RedDragonOptionsText({}));
    ASSERT_EQ(t.recorder.requests.size(), 1u);
    EXPECT_TRUE(t.recorder.requests[0].arguments.empty());

    // An options file that cannot be replaced (a directory) stops the run.
    std::filesystem::remove(OptionsFile());
    std::filesystem::create_directory(OptionsFile());
    Click("cmdRunRedDragon");
    EXPECT_NE(t.messages.Take().at(0).text.find("Red Dragon was not started."), std::string::npos);
    EXPECT_EQ(t.recorder.requests.size(), 1u) << "never started on stale options";
}

TEST_F(RedDragonTest, TheFileFillsTheControlsAndChoicesChangeWhatIsWritten) {
    WriteOptions("platform=0001\r\ndspmode=0003\r\ndspswap=0001\r\npalmod=0003\r\nfrmskip=0002\r\n");
    Open();
    EXPECT_EQ(Find<QComboBox>("cmbPalette")->currentText(), QStringLiteral("Red & Green"));

    List("lstScreenMode")->setCurrentRow(3);  // DirectDraw accel
    List("lstScreenSize")->setCurrentRow(8);
    Find<QSlider>("sliFrameskip")->setValue(7);
    EXPECT_EQ(Find<QLabel>("lblFrameskipNumber")->text(), QStringLiteral("7")) << "the number follows its slider";
    Click("cmdRunRedDragon");
    EXPECT_EQ(test::FileText(OptionsFile()).substr(0, 70),
              "platform=0001\r\nfrmskip=0007\r\ndspmode=0003\r\ndspswap=0001\r\npalmod=0003\r\n");
    EXPECT_EQ(Line("scrmode") + Line("scrx") + Line("scry"), "scrmode=0004scrx=0800scry=0600");

    t.messages.Answer(MessageResult::No);
    Click("cmdRevertSettings");
    EXPECT_EQ(Find<QSlider>("sliFrameskip")->value(), 7) << "No leaves the controls";
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertSettings");
    EXPECT_EQ(Find<QSlider>("sliFrameskip")->value(), 2);
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertDefault");
    EXPECT_EQ(Selected("lstScreenSize"), QStringLiteral(" 640x480"));
    EXPECT_EQ(Find<QComboBox>("cmbVersion")->currentIndex(), 0);
    EXPECT_EQ(t.messages.Take(), (std::vector<base::Message>{RevertToSavedQuestion(), RevertToSavedQuestion(),
                                                             RevertToDefaultQuestion()}));
}

// The key window reads the codes in member order and hands its keys back in
// Red Dragon's numbering; they reach the file at the next run.
TEST_F(RedDragonTest, KeyCodesGoOutAndBackThroughLstControls) {
    WriteOptions("ba=0001\r\nbb=0002\r\nst=0013\r\nsl=0014\r\n");
    Open();
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
    EXPECT_EQ(window->keys()[kKeyStart], 2) << "B, Start's default";
    Click("cmdRunRedDragon");
    EXPECT_EQ(Line("ba") + Line("st") + Line("sl"), "ba=0013st=0002sl=0022");
}

TEST_F(RedDragonTest, ARealRunStartsInRedDragonsDirectoryOnTheRom) {
    test::WriteRecordingEmulator(JoinPath(emu, "rdragon.exe"));
    WriteOptions("frmskip=0003\r\n");
    struct stat before {};
    ::stat(OptionsFile().c_str(), &before);
    Open(true);
    SelectRom(rom);

    Click("cmdRunRedDragon");
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

// An emulator that fails at once: its last words in a message box naming its
// log, and the log shown from the Help menu.
class RunLogTest : public RedDragonTest {
protected:
    RunLogTest() { setenv("XDG_STATE_HOME", state.c_str(), 1); }
    ~RunLogTest() override { unsetenv("XDG_STATE_HOME"); }
    // The log window's text, opened from the Help menu.
    QString ShownLog() {
        auto text = std::make_shared<QString>();
        test::WhenModalShown([text](QWidget* log) {
            *text = test::FindChild<QPlainTextEdit>(log, "txtLog")->toPlainText();
            log->close();
        });
        Find<QAction>("mnuHelpLog")->trigger();
        return *text;
    }
    std::string state = dir.File("state");
};

TEST_F(RunLogTest, AFailedStartShowsItsLastLinesAndTheLogWindowShowsItsLog) {
    test::WriteExecutable(base::JoinPath(emu, "rdragon.exe"),
                          "#!/bin/sh\necho 'run 1'\necho 'VB ROM image size is not a power of 2.' >&2\nexit 1\n");
    Open(true);
    Find<QAction>("mnuHelpLog")->trigger();
    EXPECT_EQ(t.messages.Take().at(0).title, "No log yet");

    SelectRom(rom);
    Click("cmdRunRedDragon");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !t.messages.Shown().empty(); }, 5000));
    const std::string log = base::JoinPath(state, "kestro-utils/rdragon.log");
    EXPECT_EQ(t.messages.Take().at(0),
              (base::Message{"Unable to start Red Dragon",
                             "Red Dragon ended at once (exit status 1). It said:\r\rrun 1"
                             "\rVB ROM image size is not a power of 2.\r=== Exit status 1 ===\r\r"
                             "All it said is kept in:\r" +
                                 log,
                             base::MessageIcon::Exclamation}));
    EXPECT_EQ(ShownLog().toStdString(), test::FileText(log));
}

}  // namespace
}  // namespace kestro::emus
