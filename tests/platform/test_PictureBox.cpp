// SPDX-License-Identifier: GPL-3.0-or-later
// Picture buttons and path labels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include "platform/PathLabel.h"
#include "platform/PictureBox.h"

using namespace kestro::platform;

TEST(PictureBox, ActsOnAReleaseInsideAsAButtonDoes) {
    PictureBox box(QStringLiteral("imgTest"));
    box.resize(40, 30);
    box.show();
    QSignalSpy clicks(&box, &PictureBox::clicked);

    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 0) << "a press alone does nothing";
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    QTest::mouseClick(&box, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1) << "released off the picture the press is taken back; the right button never clicks";
}

TEST(PathLabel, TextThatJustFitsIsKeptAndLongerTextEndsInThreeDots) {
    const QFontMetrics metrics(QApplication::font());
    const QString path = QStringLiteral("/home/user/roms/Virtual Boy/Wario Land.vb");
    const int width = metrics.horizontalAdvance(path);
    EXPECT_EQ(ShortenedAtEnd(path, metrics, width), path);
    const QString cut = ShortenedAtEnd(path, metrics, width - 1);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("..."))) << cut.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(cut), width - 1);
    EXPECT_TRUE(path.startsWith(cut.chopped(3)));
}
