// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <filesystem>

#include "romdb/frmVbRomDatabase.h"
#include "rominfo/frmRomInfo.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;

namespace {

// What a file manager sends: the drag enters (the window says whether it
// takes it), and only a taken drag is dropped.
bool Drop(QWidget* window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths) urls.push_back(QUrl::fromLocalFile(p));
    data.setUrls(urls);
    const QPoint at(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

}  // namespace

// A .vb dropped on the ROM information window opens as Open opens it: shown, in the recent list, or refused with its message. A
// directory dropped on the database window becomes the listed one. Other
// drags are not taken.
TEST(Drops, RomsOnTheirWindowsAndADirectoryOnTheDatabase) {
    test::TempDir dir;
    test::TestServices ts;
    const auto path = [&dir](const char* name) { return QString::fromStdString(dir.File(name)); };
    test::RomBuilder::Unknown().WriteTo(dir.File("rom.vb"));
    test::WriteBytes(dir.File("notes.txt"), {'h', 'i'});
    test::WriteBytes(dir.File("TINY.VB"), std::vector<std::uint8_t>(544, 0));
    rominfo::frmRomInfo info(ts.services);
    info.show();
    EXPECT_FALSE(Drop(&info, {path("notes.txt")}));
    ASSERT_TRUE(Drop(&info, {path("rom.vb")}));
    EXPECT_EQ(ts.settings.Find("Recent ROM #1"), dir.File("rom.vb"));
    ASSERT_TRUE(Drop(&info, {path("TINY.VB")})) << "the extension in any case";
    EXPECT_EQ(test::TakeOne(ts.messages).text, "File too small to be a VB ROM image.");

    std::filesystem::create_directory(dir.Path() / "more roms");
    test::RomBuilder::Unknown().WriteTo(dir.File("more roms/a.vb"));
    ts.settings.Write("Base Directory", dir.Path().string());
    romdb::frmVbRomDatabase database(ts.services);
    database.show();
    EXPECT_FALSE(Drop(&database, {path("more roms/a.vb")}));
    ASSERT_TRUE(Drop(&database, {path("more roms")}));
    EXPECT_EQ(test::FindChild<QLabel>(&database, "lblRomDir")->text(), path("more roms/*.vb"));
    EXPECT_EQ(database.collection().Rows().size(), 1u);
}
