// SPDX-License-Identifier: GPL-3.0-or-later
// Texts shown whole: message boxes, the key capture window, slider numbers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>

#include "emus/frmKeyCapture.h"
#include "emus/frmRedDragon.h"
#include "platform/DialogFit.h"
#include "platform/Widgets.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using test::FindChild;

namespace {
int CaptionWidth(const QWidget& window) {
    return QFontMetrics(QApplication::font()).horizontalAdvance(window.windowTitle()) + platform::kTitleBarExtras;
}
}  // namespace

TEST(Looks, MessageBoxesAndCaptureWindowShowTheirWholeCaptionAndLines) {
    // A caption wider than its text, and lines wider than the caption.
    const std::pair<const char*, const char*> messages[] = {
        {"Change key configuration", "Do you wish to save the changes?"},
        {"Don't click me",
         "CAUTION: Do not click this button, as this may shorten the life of the batteries\n"
         "and cause battery backed-up Utility Apps to lose their stored information."},
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

    test::TestServices ts;
    emus::frmRedDragon rdrag(ts.services);
    FindChild<QSlider>(&rdrag, "sliFrameskip")->setValue(3);
    EXPECT_EQ(FindChild<QLabel>(&rdrag, "lblFrameskipNumber")->text(), QStringLiteral("3"));
}
