// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation and width buttons' steps and bounds, the goto box, and the update caption.
#include <gtest/gtest.h>

#include "tiles/TileNavigation.h"
#include "tiles/TileTexts.h"

namespace kestro::tiles {
namespace {

constexpr double kLength = 1000;

double OffsetAfter(ViewStep step, double offset, double width = 48) {
    return Step(step, {offset, width}, kLength).offset;
}

double WidthAfter(ViewStep step, double width) {
    return Step(step, {0, width}, kLength).width;
}

TEST(TileNavigation, StepsMoveByAByteATileARowOrAScreenAndWidthsStayInBounds) {
    // The bounds at either end are those the window's buttons show.
    EXPECT_EQ(OffsetAfter(ViewStep::Down, 0, 1), 16);
    EXPECT_EQ(OffsetAfter(ViewStep::PageDown, 0, 1), 448);
    EXPECT_EQ(OffsetAfter(ViewStep::OffsetDownTile, 10), 0);
    EXPECT_EQ(OffsetAfter(ViewStep::Up, 800, 48), 32);
    EXPECT_EQ(Step(ViewStep::TileDouble, {37, 5}, kLength).offset, 37);

    // Width steps halve, double, and stay within 1 to 32767.
    EXPECT_EQ(WidthAfter(ViewStep::TileLeft, 1), 1);
    EXPECT_EQ(WidthAfter(ViewStep::TileRight, 32767), 32767);
    EXPECT_EQ(WidthAfter(ViewStep::TileHalf, 1), 1);  // 0 is raised to 1
    EXPECT_EQ(WidthAfter(ViewStep::TileHalf, 7.6), 4);  // rounded to 8 first
    EXPECT_EQ(WidthAfter(ViewStep::TileDouble, 20000), 32767);
}

TEST(TileNavigation, GotoBoxNormalisesWhileTypingAndBoundsOnGoto) {
    const auto W = GotoWhat::Width, O = GotoWhat::Offset;
    // The lower bound waits for Goto.
    const std::tuple<GotoWhat, const char*, const char*> typed[] = {
        {W, "abc", "0"},  {W, "99999", "32767"}, {O, "5000", "999"}, {O, "999", "999"}, {O, "-5", "-5"},
        {W, "0x", "0x"}, {O, "0x3E8", "0x3E7"},   {W, "0x4g", "0x4"}, {O, "0x11111111111111111", "0x3E7"}};
    for (auto [what, text, shown] : typed) EXPECT_EQ(GotoTextChanged(what, text, kLength), shown) << text;
    const std::tuple<GotoWhat, const char*, const char*> accepted[] = {
        {W, "0", "1"}, {W, "-3", "1"}, {O, "-5", "0"}, {O, "", "0"}, {O, "512", "512"}, {O, "0x200", "512"}, {W, "0x", "1"}};
    for (auto [what, text, value] : accepted) EXPECT_EQ(GotoAccepted(what, text), value) << text;
}

// The window shows the caption after a redraw; here the edges of its timing.
TEST(TileTexts, UpdateCaptionShowsTheElapsedSecondsNeverBelowZero) {
    EXPECT_EQ(UpdateCaption(ElapsedSeconds(3601, 3600.7)), "Update Screen: 0 seconds");
}

}  // namespace
}  // namespace kestro::tiles
