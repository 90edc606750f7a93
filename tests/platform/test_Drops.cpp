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
#include "tiles/frmTileViewer.h"

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

class Drops : public ::testing::Test {
protected:
    QString Path(const char* name) const { return QString::fromStdString(dir.File(name)); }
    test::TempDir dir;
    test::TestServices ts;
};

}  // namespace

// A .vb dropped on the ROM information window opens as Open opens it: shown,
// in the recent list, or refused with its message. Other drags are
// not taken.
TEST_F(Drops, RomOnRomInformationWindowOpensThroughOpen) {
    test::RomBuilder::KnownDump("Mario Clash (JU) [!]").WriteTo(dir.File("mario.vb"));
    test::WriteBytes(dir.File("notes.txt"), {'h', 'i'});
    test::WriteBytes(dir.File("TINY.VB"), std::vector<std::uint8_t>(544, 0));
    rominfo::frmRomInfo window(ts.services);
    window.show();

    EXPECT_FALSE(Drop(&window, {Path("notes.txt")}));
    EXPECT_FALSE(Drop(&window, {Path("mario.vb"), Path("TINY.VB")})) << "two ROMs at once";

    ASSERT_TRUE(Drop(&window, {Path("mario.vb")}));
    EXPECT_EQ(ts.settings.Find("Recent ROM #1"), dir.File("mario.vb"));

    ASSERT_TRUE(Drop(&window, {Path("TINY.VB")})) << "the extension in any case";
    EXPECT_EQ(test::TakeOne(ts.messages).text, "File too small to be a VB ROM image.");
}

TEST_F(Drops, RomOnTileViewerOpensIt) {
    test::RomBuilder::Unknown().Size(65536).WriteTo(dir.File("view.vb"));
    tiles::frmTileViewer window(ts.services);
    window.show();
    EXPECT_FALSE(Drop(&window, {QString::fromStdString(dir.Path().string())})) << "a directory";
    ASSERT_TRUE(Drop(&window, {Path("view.vb")}));
    EXPECT_EQ(test::FindChild<QLabel>(&window, "lblFileName")->text(), Path("view.vb"));
}

// A directory dropped on the database window becomes the listed one; a file does not.
TEST_F(Drops, DirectoryOnRomDatabaseListsIt) {
    std::filesystem::create_directory(dir.Path() / "more roms");
    test::RomBuilder::Unknown().WriteTo(dir.File("more roms/a.vb"));
    ts.settings.Write("Base Directory", dir.Path().string());
    romdb::frmVbRomDatabase window(ts.services);
    window.show();
    EXPECT_FALSE(Drop(&window, {Path("more roms/a.vb")}));
    ASSERT_TRUE(Drop(&window, {Path("more roms")}));
    EXPECT_EQ(test::FindChild<QLabel>(&window, "lblRomDir")->text(), Path("more roms/*.vb"));
    EXPECT_EQ(window.collection().Rows().size(), 1u);
}
