// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPlainTextEdit>

#include "help/frmHelp.h"
#include "support/gui/TestServices.h"

using namespace kestro;

namespace {

struct Shown {
    QString caption, text;
    bool fixedPitch = false;
    bool wraps = true;
};

Shown Open(test::TestServices& ts, const char* topic, const QString& sourceText) {
    help::frmHelp window(ts.services, QString::fromLatin1(topic), sourceText);
    auto* box = test::FindChild<QPlainTextEdit>(&window, "txtHelp");
    return {window.windowTitle(), box->toPlainText(), QFontInfo(box->font()).fixedPitch(),
            box->lineWrapMode() != QPlainTextEdit::NoWrap};
}

}  // namespace

TEST(HelpWindow, ReportsTheLogAndTheCodesKeepTheirColumnsOtherTopicsWrap) {
    test::TestServices ts;
    // A detailed report line: quoted name padded to the longest, checksum, name.
    const QString report = QStringLiteral(
        "Good ROMs: 02\r\n\"golf.vb\"          1088202E Golf (U) [!]\r\n"
        "\"a much longer name.vb\" 10A3D96C T&E Virtual Golf (J) [!]\r\n");
    const std::pair<const char*, const char*> reports[] = {
        {"ROM DB Have", "Collected Virtual Boy ROMs"},
        {"ROM DB Miss", "Missing Virtual Boy ROMs"},
        {"ROM DB Dupes", "Duplicate Virtual Boy ROMs"},
        {"ROM DB Log", "Virtual Boy ROMs Change Log"},
    };
    for (auto [topic, caption] : reports) {
        const Shown shown = Open(ts, topic, report);
        EXPECT_EQ(shown.caption, QString::fromLatin1(caption));
        EXPECT_TRUE(shown.text.contains(QStringLiteral("\"golf.vb\"          1088202E"))) << topic;
        EXPECT_TRUE(shown.fixedPitch) << topic;
        EXPECT_FALSE(shown.wraps) << topic << ": long lines scroll instead";
    }

    // A key that is no topic shows the codes text, in the font it needs.
    const Shown unknown = Open(ts, "No such topic", QStringLiteral("ignored"));
    EXPECT_EQ(unknown.caption, QStringLiteral("Kestro Utilities Help"));
    EXPECT_TRUE(unknown.text.startsWith(QStringLiteral("...............: STANDARD CODES ::...............")));
    EXPECT_TRUE(unknown.fixedPitch);
    EXPECT_TRUE(Open(ts, "ROM ID Codes", QString()).fixedPitch);

    // Help pages stay as they were: wrapped, in the ordinary font.
    const Shown page = Open(ts, "Kestro", QStringLiteral("Kestro Utilities:\r\n\r\nThis application..."));
    EXPECT_EQ(page.caption, QStringLiteral("Kestro Utilities Help"));
    EXPECT_TRUE(page.wraps);
    EXPECT_FALSE(page.fixedPitch);
}
