// The goto dialog for an offset or a width.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tiles/frmGoto.h"

namespace kestro::tiles {
namespace {

QLineEdit* Box(frmGoto& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("txtGoto"));
}
void Click(frmGoto& dialog, const char* name) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

TEST(GotoDialog, WidthIsNormalisedCappedAndRaisedToOne) {
    frmGoto dialog(GotoWhat::Width, QStringLiteral("48"), 1000);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Goto specific width..."));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblGoto"))->text(), QStringLiteral("Width:"));
    EXPECT_EQ(Box(dialog)->text(), QStringLiteral("48"));
    EXPECT_EQ(Box(dialog)->cursorPosition(), 2);

    Box(dialog)->setText(QStringLiteral("99999"));
    EXPECT_EQ(Box(dialog)->text(), QStringLiteral("32767"));
    Box(dialog)->setText(QStringLiteral("abc"));
    EXPECT_EQ(Box(dialog)->text(), QStringLiteral("0"));
    Click(dialog, "cmdGoto");
    ASSERT_TRUE(dialog.result());
    EXPECT_EQ(*dialog.result(), QStringLiteral("1"));
}

TEST(GotoDialog, OffsetStopsAtTheLastByteAndCancelChangesNothing) {
    frmGoto dialog(GotoWhat::Offset, QStringLiteral("16"), 1000);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Goto specific offset..."));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblGoto"))->text(), QStringLiteral("Offset:"));
    Box(dialog)->clear();
    QTest::keyClicks(Box(dialog), QStringLiteral("5000"));
    EXPECT_EQ(Box(dialog)->text(), QStringLiteral("999"));
    EXPECT_EQ(Box(dialog)->cursorPosition(), 3);
    Click(dialog, "cmdCancel");
    EXPECT_FALSE(dialog.result());

    frmGoto negative(GotoWhat::Offset, QStringLiteral("16"), 1000);
    Box(negative)->setText(QStringLiteral("-20"));
    Click(negative, "cmdGoto");
    EXPECT_EQ(negative.result().value_or(QString()), QStringLiteral("0"));
}

}  // namespace
}  // namespace kestro::tiles
