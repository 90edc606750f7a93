// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPlainTextEdit>

#include "help/frmHelp.h"
#include "support/gui/TestServices.h"

using namespace kestro;

// The reports, the log and the codes keep their columns: a fixed-pitch font
// and long lines that scroll. Help pages wrap in the ordinary font. A key
// that is no topic shows the codes text.
TEST(HelpWindow, ReportsTheLogAndTheCodesKeepTheirColumnsOtherTopicsWrap) {
    test::TestServices ts;
    // A detailed report line: quoted name padded to the longest, checksum, name.
    const QString report = QStringLiteral(
        "Good ROMs: 02\r\n\"golf.vb\"          1088202E Golf (U) [!]\r\n"
        "\"a much longer name.vb\" 10A3D96C T&E Virtual Golf (J) [!]\r\n");
    const struct {
        const char* topic;
        const char* caption;
        const char* startsWith;
        bool columns;
    } topics[] = {
        {"ROM DB Have", "Collected Virtual Boy ROMs", "Good ROMs: 02\n\"golf.vb\"          1088202E", true},
        {"No such topic", "Kestro Utilities Help", "...............: STANDARD CODES ::...............", true},
        {"Kestro", "Kestro Utilities Help", "Good ROMs", false},
    };
    for (const auto& t : topics) {
        help::frmHelp window(ts.services, QString::fromLatin1(t.topic), report);
        auto* box = test::FindChild<QPlainTextEdit>(&window, "txtHelp");
        EXPECT_EQ(window.windowTitle(), QString::fromLatin1(t.caption)) << t.topic;
        EXPECT_TRUE(box->toPlainText().startsWith(QString::fromLatin1(t.startsWith))) << t.topic;
        EXPECT_EQ(QFontInfo(box->font()).fixedPitch(), t.columns) << t.topic;
        EXPECT_EQ(box->lineWrapMode() == QPlainTextEdit::NoWrap, t.columns) << t.topic;
    }
}
