// The update button's timing caption.
#include <gtest/gtest.h>

#include "tiles/TileTexts.h"

namespace kestro::tiles {
namespace {

TEST(TileTexts, UpdateCaptionShowsSecondsSinceTheRoundedStart) {
    EXPECT_EQ(UpdateCaption(ElapsedSeconds(3600, 3602.5)), "Update Screen: 2.5 seconds");
    EXPECT_EQ(UpdateCaption(ElapsedSeconds(3600, 3600)), "Update Screen: 0 seconds");
    EXPECT_EQ(UpdateCaption(ElapsedSeconds(3601, 3600.7)), "Update Screen: -0.3 seconds");
    EXPECT_EQ(UpdateCaption(ElapsedSeconds(86400, 0.25)), "Update Screen: 0.25 seconds");  // over midnight
    EXPECT_EQ(RomCaption("MARIO CLASH"), "ROM Tile Viewer - [MARIO CLASH]");
}

}  // namespace
}  // namespace kestro::tiles
