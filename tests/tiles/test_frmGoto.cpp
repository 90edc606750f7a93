// The goto dialog, typed into key by key.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tiles/frmGoto.h"

namespace kestro::tiles {
namespace {

TEST(GotoDialog, TypedOffsetStopsAtTheLastByteAndCancelChangesNothing) {
    frmGoto dialog(GotoWhat::Offset, QStringLiteral("16"), 1000);
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtGoto"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Goto specific offset..."));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblGoto"))->text(), QStringLiteral("Offset:"));
    EXPECT_EQ(box->cursorPosition(), 2);
    box->clear();
    QTest::keyClicks(box, QStringLiteral("5x000"));
    EXPECT_EQ(box->text(), QStringLiteral("999"));
    EXPECT_EQ(box->cursorPosition(), 3);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    EXPECT_FALSE(dialog.result());
}

}  // namespace
}  // namespace kestro::tiles
