// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include "app/frmAbout.h"
#include "platform/PictureBox.h"
#include "support/gui/TestServices.h"

using namespace kestro;

namespace {

// A pointer move with no button held, as the window system sends it.
void MoveOver(QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

bool Shows(const QLabel* picture, const QLabel* source) {
    return picture->pixmap().toImage() == source->pixmap().toImage();
}

}  // namespace

TEST(AboutWindow, ControllerLightsUnderThePointerAndAnswersTheRightButton) {
    test::TestServices ts;
    app::frmAbout about(ts.services);
    about.show();
    auto* pad = test::FindChild<platform::PictureBox>(&about, "imgVBControl");
    auto* lit = test::FindChild<QLabel>(&about, "imgVBControl2");
    auto* normal = test::FindChild<QLabel>(&about, "imgVBControl3");
    ASSERT_FALSE(Shows(lit, normal)) << "the two pictures must differ for this test to mean anything";
    EXPECT_TRUE(Shows(pad, normal));

    MoveOver(pad);
    EXPECT_TRUE(Shows(pad, lit));
    MoveOver(pad);
    EXPECT_TRUE(Shows(pad, lit)) << "moving on over the picture keeps it lit";

    MoveOver(test::FindChild<QLabel>(&about, "lblKestro"));
    EXPECT_TRUE(Shows(pad, normal));
    MoveOver(pad);
    MoveOver(&about);
    EXPECT_TRUE(Shows(pad, normal)) << "the window's background puts it out";

    // Only the right button answers, with a question and then its reply.
    QTest::mouseClick(pad, Qt::LeftButton);
    EXPECT_TRUE(ts.messages.Shown().empty());
    for (auto [answer, replies] : {std::pair{base::MessageResult::No, 2u}, std::pair{base::MessageResult::Yes, 1u}}) {
        ts.messages.Answer(answer);
        QTest::mouseClick(pad, Qt::RightButton);
        const auto shown = ts.messages.Take();
        ASSERT_EQ(shown.size(), replies);
        EXPECT_EQ(shown[0].title, "Emulation rules! Thanks everyone!");
        if (replies == 2) EXPECT_EQ(shown[1].title, "You selected no!");
    }
}
