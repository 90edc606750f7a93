// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>

#include "emus/frmRedDragon.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using test::FindChild;

TEST(Looks, SliderNumbersFollowTheirSlider) {
    test::TestServices ts;
    emus::frmRedDragon rdrag(ts.services);
    FindChild<QSlider>(&rdrag, "sliFrameskip")->setValue(3);
    EXPECT_EQ(FindChild<QLabel>(&rdrag, "lblFrameskipNumber")->text(), QStringLiteral("3"));
}
