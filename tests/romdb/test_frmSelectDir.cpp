// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "base/SettingsKeys.h"
#include "platform/Text.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/frmSelectDir.h"
#include "romdb/frmVbRomDatabase.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using platform::Q;

namespace {

// Picks a directory in the chooser's tree as a click would, then presses a button.
void ChooseIn(QWidget* chooser, const std::string& directory, const char* button) {
    auto* tree = chooser->findChild<QTreeView*>(QStringLiteral("dirDirectory"));
    ASSERT_NE(tree, nullptr);
    if (!directory.empty()) {
        auto* model = static_cast<QFileSystemModel*>(tree->model());
        tree->setCurrentIndex(model->index(Q(directory)));
    }
    QTest::mouseClick(chooser->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

}  // namespace

TEST(SelectDirTest, CollectionWindowListsTheChoiceAndCancelReturnsToTheBase) {
    test::TempDir base, other;
    test::WriteKnown(base.Path(), "golf.vb", "Golf (U) [!]");
    test::WriteBytes(other.File("x.VB"), {});
    test::TestServices ts;
    ts.settings.Write("Base Directory", base.Path().string());
    romdb::frmVbRomDatabase window(ts.services);
    auto* list = window.findChild<QListWidget*>(QStringLiteral("lstFileIdentify"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("lblRomDir"));
    auto* select = window.findChild<QPushButton*>(QStringLiteral("cmdSelectDir"));

    test::WhenModalShown([&](QWidget* chooser) { ChooseIn(chooser, other.Path().string(), "cmdSelect"); });
    QTest::mouseClick(select, Qt::LeftButton);
    EXPECT_EQ(label->text(), Q(other.File("*.vb")));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), "x.VB - [YET TO BE IDENTIFIED]");

    test::WhenModalShown([&](QWidget* chooser) { ChooseIn(chooser, "", "cmdCancel"); });
    QTest::mouseClick(select, Qt::LeftButton);
    EXPECT_EQ(label->text(), Q(base.File("*.vb")));
    EXPECT_EQ(list->item(0)->text().toStdString(), "golf.vb - [YET TO BE IDENTIFIED]");
}

TEST(SelectDirTest, OpensWhereAskedShowsWhereYouAreAndReturnsTheChoice) {
    const std::filesystem::path before = std::filesystem::current_path();
    test::TempDir base, other;
    const std::filesystem::path deep = base.Path() / "one" / "two" / "three";
    std::filesystem::create_directories(deep);
    test::TestServices ts;
    ts.settings.Write("Base Directory", base.Path().string());

    // Without a starting directory it opens on the base directory; one that
    // does not exist opens the default directory; Cancel chooses nothing.
    romdb::frmSelectDir unstarted(ts.services, QString());
    EXPECT_EQ(unstarted.path(), Q(base.Path().string()));
    EXPECT_EQ(unstarted.findChild<QLabel*>(QStringLiteral("lblFileName"))->text(), Q(base.Path().string()));
    ChooseIn(&unstarted, deep.string(), "cmdSelect");
    EXPECT_EQ(unstarted.tag(), Q(deep.string()));
    romdb::frmSelectDir missing(ts.services, Q(other.File("gone")));
    EXPECT_EQ(QDir(missing.path()), QDir(Q(base::DefaultDirectory())));
    ChooseIn(&missing, "", "cmdCancel");
    EXPECT_TRUE(missing.tag().isEmpty());
    EXPECT_EQ(std::filesystem::current_path(), before) << "ours never follows the chooser";

    romdb::frmSelectDir chooser(ts.services, Q(deep.string()));
    chooser.show();
    auto* tree = chooser.findChild<QTreeView*>(QStringLiteral("dirDirectory"));
    auto* model = static_cast<QFileSystemModel*>(tree->model());
    auto* box = chooser.findChild<QLineEdit*>(QStringLiteral("txtDirectory"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), Q(deep.string()));

    // Enter in the path box goes to the typed directory without choosing it.
    box->setText(Q(other.Path().string()));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.path(), Q(other.Path().string()));
    EXPECT_EQ(model->filePath(tree->currentIndex()), Q(other.Path().string()));
    EXPECT_EQ(chooser.findChild<QLabel*>(QStringLiteral("lblFileName"))->text(), Q(other.Path().string()));

    // A path that names no directory is refused where the user can see why.
    box->setText(Q(other.File("nowhere")));
    QTest::mouseClick(chooser.findChild<QPushButton*>(QStringLiteral("cmdSelect")), Qt::LeftButton);
    EXPECT_EQ(ts.messages.Take().at(0).title, "Directory not found");
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_TRUE(chooser.tag().isEmpty());

    // Typed, then Select: that directory is the choice.
    box->setText(Q(base.Path().string()));
    QTest::mouseClick(chooser.findChild<QPushButton*>(QStringLiteral("cmdSelect")), Qt::LeftButton);
    EXPECT_EQ(chooser.tag(), Q(base.Path().string()));
}
