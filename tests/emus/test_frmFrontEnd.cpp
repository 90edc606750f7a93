// SPDX-License-Identifier: GPL-3.0-or-later
// What the front-end windows share, checked on each of them.
#include <stdlib.h>
#include <QPushButton>

#include "emus/FrontEndFixture.h"
#include "emus/frmMednafen.h"
#include "emus/frmRealityBoy.h"
#include "emus/frmRedDragon.h"

namespace kestro::emus {
namespace {

template <typename Window>
class FrontEndShapeTest : public test::FrontEndTest<Window> {
protected:
    FrontEndShapeTest() { setenv("MEDNAFEN_HOME", this->dir.File("mednafen").c_str(), 1); }
    ~FrontEndShapeTest() override { unsetenv("MEDNAFEN_HOME"); }
};

using FrontEnds = ::testing::Types<frmRealityBoy, frmRedDragon, frmMednafen>;
TYPED_TEST_SUITE(FrontEndShapeTest, FrontEnds);

// Enter in a text box or list must not press a button the user never chose
// ("Select ROM..." would otherwise open a file dialog).
TYPED_TEST(FrontEndShapeTest, EnterPressesNoButton) {
    TypeParam& window = this->Open();
    const auto buttons = window.template findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QPushButton* button : buttons) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();
    }
}

}  // namespace
}  // namespace kestro::emus
