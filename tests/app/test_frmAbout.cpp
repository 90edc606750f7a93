// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include "app/frmAbout.h"
#include "platform/PictureBox.h"
#include "support/gui/TestServices.h"

using namespace kestro;

// Only the right button on the controller answers, with a question and then its reply.
TEST(AboutWindow, ControllerAnswersTheRightButton) {
    test::TestServices ts;
    app::frmAbout about(ts.services);
    about.show();
    auto* pad = test::FindChild<platform::PictureBox>(&about, "imgVBControl");
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
