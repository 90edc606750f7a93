// SPDX-License-Identifier: GPL-3.0-or-later
// Names with double-width characters line up with the others in the file list.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QListWidget>

#include "romdb/RomDbFixtures.h"
#include "platform/SystemLocations.h"
#include "platform/Text.h"
#include "romdb/frmVbRomDatabase.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;

TEST(DatabaseColumns, DoubleWidthCharactersTakeTwoColumnsInTheFileList) {
    test::TempDir dir;
    test::TestServices ts;
    test::FaultyFileOps files;
    ts.settings.Write("Base Directory", dir.Path().string());
    test::WriteKnown(dir.Path(), "\xE3\x83\x96\xE3\x83\xAD\xE3\x83\x83\xE3\x82\xAF\xE3\x82\xB9.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "\xEF\xBD\xB1.vb", "Golf (U) [!]");
    // With the katakana face start-up finds, the statuses also line up on screen.
    platform::SetKatakanaFontFamily(platform::FindKatakanaFont().family);
    romdb::frmVbRomDatabase w(ts.services, nullptr, &files);
    platform::SetKatakanaFontFamily(QString());
    auto* list = test::FindChild<QListWidget>(&w, "lstFileIdentify");
    ASSERT_EQ(list->count(), 3);
    // The padding itself is the listing's test; here every status starts at one place on screen.
    const QFontMetrics metrics(list->font());
    const int nameWidth = metrics.horizontalAdvance(QStringLiteral("golf.vb       "));
    for (int i = 0; i < list->count(); ++i) {
        const QString line = list->item(i)->text();
        EXPECT_EQ(metrics.horizontalAdvance(line.left(line.indexOf(QStringLiteral(" - ")) + 1)), nameWidth)
            << line.toStdString() << " in " << list->font().family().toStdString();
    }
}
