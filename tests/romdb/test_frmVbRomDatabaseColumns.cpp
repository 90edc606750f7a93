// SPDX-License-Identifier: GPL-3.0-or-later
// Names with double-width characters line up with the others in the file list.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QListWidget>

#include "romdb/RomDbFixtures.h"
#include "romdb/frmVbRomDatabase.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;

TEST(DatabaseColumns, StatusesStartAtOneColumnWhateverTheNamesAreWrittenIn) {
    test::TempDir dir;
    test::TestServices ts;
    test::FaultyFileOps files;
    ts.settings.Write("Base Directory", dir.Path().string());
    test::WriteKnown(dir.Path(), "\xE3\x83\x96\xE3\x83\xAD\xE3\x83\x83\xE3\x82\xAF\xE3\x82\xB9.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "golf.vb", "Golf (U) [!]");
    test::WriteKnown(dir.Path(), "\xEF\xBD\xB1.vb", "Golf (U) [!]");
    romdb::frmVbRomDatabase w(ts.services, nullptr, &files);
    auto* list = test::FindChild<QListWidget>(&w, "lstFileIdentify");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("golf.vb       - [YET TO BE IDENTIFIED]"));
    // Drawn, the " - " of every line starts at the same pixel.
    const QFontMetrics metrics(list->font());
    const auto dashAt = [&](int row) {
        const QString line = list->item(row)->text();
        return metrics.horizontalAdvance(line.left(static_cast<int>(line.indexOf(QStringLiteral(" - ")))));
    };
    EXPECT_EQ(dashAt(1), dashAt(0)) << list->item(1)->text().toStdString();
    EXPECT_EQ(dashAt(2), dashAt(0)) << list->item(2)->text().toStdString();
}
