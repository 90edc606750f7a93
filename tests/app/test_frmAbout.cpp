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

// A pointer move with no button held, as the window system sends it.
static void MoveOver(QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

// The controller lights under the pointer and goes out over a label or the
// window's background; only the right button answers, with a question and
// then its reply.
TEST(AboutWindow, ControllerLightsUnderThePointerAndAnswersTheRightButton) {
    test::TestServices ts;
    app::frmAbout about(ts.services);
    about.show();
    auto* pad = test::FindChild<platform::PictureBox>(&about, "imgVBControl");
    const QImage lit = test::FindChild<QLabel>(&about, "imgVBControl2")->pixmap().toImage();
    ASSERT_NE(lit, test::FindChild<QLabel>(&about, "imgVBControl3")->pixmap().toImage());
    QWidget* label = test::FindChild<QLabel>(&about, "lblKestro");
    const std::pair<QWidget*, bool> moves[] = {{pad, true}, {pad, true}, {label, false}, {pad, true}, {&about, false}};
    for (auto [over, lights] : moves) {
        MoveOver(over);
        EXPECT_EQ(pad->pixmap().toImage() == lit, lights) << over->objectName().toStdString();
    }

    QTest::mouseClick(pad, Qt::LeftButton);
    EXPECT_TRUE(ts.messages.Shown().empty());
    for (auto [answer, replies, last] :
         {std::tuple{base::MessageResult::No, 2u, "You selected no!"},
          std::tuple{base::MessageResult::Yes, 1u, "Emulation rules! Thanks everyone!"}}) {
        ts.messages.Answer(answer);
        QTest::mouseClick(pad, Qt::RightButton);
        const auto shown = ts.messages.Take();
        ASSERT_EQ(shown.size(), replies);
        EXPECT_EQ(shown.front().title, "Emulation rules! Thanks everyone!");
        EXPECT_EQ(shown.back().title, last);
    }
}
