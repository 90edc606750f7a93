// SPDX-License-Identifier: GPL-3.0-or-later
// Title bytes that are no printable character, as the ROM information window draws them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "rominfo/frmRomInfo.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;

TEST(RomInfoTitle, ControlBytesAreLeftOutAsTheCaptionLeavesThemOutAndKeptOnSave) {
    test::TempDir dir;
    test::TestServices ts;
    const std::string title("VUENGINE PLATFORMER\0", 20);
    test::RomBuilder().Title(title).WriteTo(dir.File("p.vb"));
    ts.settings.Write("Auto Detect ROM", "False");
    rominfo::frmRomInfo w(ts.services);
    w.OpenRom(QString::fromStdString(dir.File("p.vb")));
    EXPECT_EQ(test::FindChild<QLabel>(&w, "lblTitle")->text(), QStringLiteral("VUENGINE PLATFORMER"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Information - [VUENGINE PLATFORMER]"));

    // The title editor shows the same text; OK with nothing typed keeps every byte.
    QString shown;
    test::WhenModalShown([&](QWidget* ime) {
        shown = test::FindChild<QLineEdit>(ime, "txtRomTitle")->text();
        QTest::mouseClick(test::FindChild<QPushButton>(ime, "cmdOK"), Qt::LeftButton);
    });
    QTest::mouseClick(test::FindChild<QPushButton>(&w, "cmdJapaneseIme"), Qt::LeftButton);
    EXPECT_EQ(shown, QStringLiteral("VUENGINE PLATFORMER"));
    EXPECT_EQ(w.TitleBytes(), title);
}
