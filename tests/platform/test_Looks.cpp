// SPDX-License-Identifier: GPL-3.0-or-later
// Texts shown whole and pictures clear of the controls they belong to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QTest>
#include <QTreeView>

#include "emus/frmKeyCapture.h"
#include "emus/frmRedDragon.h"
#include "emus/frmVirtualE.h"
#include "platform/DialogFit.h"
#include "platform/Widgets.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using test::FindChild;

namespace {
int CaptionWidth(const QWidget& window) {
    return QFontMetrics(QApplication::font()).horizontalAdvance(window.windowTitle()) + platform::kTitleBarExtras;
}
}  // namespace

TEST(Looks, MessageBoxesAndCaptureWindowShowTheirWholeCaptionAndLines) {
    // Title and text, as the key configuration and the power button show them.
    const std::pair<const char*, const char*> messages[] = {
        {"Change key configuration", "Do you wish to save the changes?"},
        {"Don't click me",
         "CAUTION: Do not click this button, as this may shorten the life of the batteries\n"
         "and cause battery backed-up Utility Apps to lose their stored information."},
        {"Invalid file name", "File does not exist."},
    };
    for (auto [title, text] : messages) {
        QMessageBox box(QMessageBox::Information, QString::fromLatin1(title), QString::fromLatin1(text));
        platform::FitMessageBoxToText(box);
        const int label = FindChild<QLabel>(&box, "qt_msgbox_label")->minimumWidth();
        EXPECT_GE(label, CaptionWidth(box)) << title;
        for (const QString& line : box.text().split(QLatin1Char('\n'))) {
            EXPECT_GE(label, box.fontMetrics().horizontalAdvance(line)) << title;
        }
    }
    emus::frmKeyCapture capture(QStringLiteral("Red Dragon"));
    EXPECT_GE(capture.width(), CaptionWidth(capture));
    capture.close();
}

TEST(Looks, OpenFileDialogsOpenWideWithTheirColumnsFitted) {
    test::TempDir dir;
    test::WriteBytes(dir.File("a rom with a long name.vb"), std::vector<std::uint8_t>(524288, 0));
    QFileDialog dialog(nullptr, QStringLiteral("Open"), QString::fromStdString(dir.Path().string()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    platform::WidenFileDialog(dialog);
    dialog.show();
    EXPECT_GE(dialog.width(), platform::kFileDialogSize.width());
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return details->model()->rowCount(details->rootIndex()) > 0; }));
    for (int column = 1; column <= 3; ++column) {  // size, type and date, each shown whole
        const QString shown = details->model()->index(0, column, details->rootIndex()).data().toString();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return details->columnWidth(column) > details->fontMetrics().horizontalAdvance(shown);
        })) << shown.toStdString();
    }
}

TEST(Looks, FrontEndNumbersAndPicturesStayClearOfTheirSliders) {
    test::TestServices ts;
    emus::frmVirtualE virte(ts.services);
    virte.show();
    auto* brightness = FindChild<QSlider>(&virte, "sliBrightness");
    for (int value : {-5, 0, 5}) {
        brightness->setValue(value);
        QCoreApplication::processEvents();
        const auto* picture = FindChild<QWidget>(&virte, ("imgBrightness_" + std::to_string(value + 5)).c_str());
        EXPECT_TRUE(picture->isVisible());
        EXPECT_FALSE(picture->geometry().intersects(brightness->geometry())) << value;
    }
    emus::frmRedDragon rdrag(ts.services);
    auto* skip = FindChild<QSlider>(&rdrag, "sliFrameskip");
    for (int value : {0, 3, skip->maximum()}) {
        skip->setValue(value);
        EXPECT_EQ(FindChild<QLabel>(&rdrag, "lblFrameskipNumber")->text(), QString::number(value));
    }
}
