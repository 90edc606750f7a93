// SPDX-License-Identifier: GPL-3.0-or-later
// An emulator that fails at once: its last words in a message box naming its
// log, and the log shown from the Help menu.
#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

#include "emus/FrontEndFixture.h"
#include "emus/frmRedDragon.h"

namespace kestro::emus {
namespace {

class RunLogTest : public test::FrontEndTest<frmRedDragon> {
protected:
    RunLogTest() {
        t.settings.Write("Red Dragon Directory", emu);
        setenv("XDG_STATE_HOME", state.c_str(), 1);
    }
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

TEST_F(RunLogTest, AFailedStartShowsItsLastLinesAndTheLogNewestRunFirst) {
    test::WriteExecutable(base::JoinPath(emu, "rdragon.exe"),
                          "#!/bin/sh\nn=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count\n"
                          "echo \"run $n\"\necho 'VB ROM image size is not a power of 2.' >&2\nexit 1\n");
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

    Click("cmdRunRedDragon");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !t.messages.Shown().empty(); }, 5000));
    t.messages.Take();
    const QString shown = ShownLog();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("=== Started "))) << shown.toStdString();
    EXPECT_EQ(shown.count(QStringLiteral("=== Started ")), 2);
    EXPECT_LT(shown.indexOf(QStringLiteral("run 2")), shown.indexOf(QStringLiteral("run 1"))) << "newest run first";
    EXPECT_EQ(shown.toStdString(), test::FileText(log));
}

}  // namespace
}  // namespace kestro::emus
