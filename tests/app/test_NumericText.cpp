// Numbers held as text in labels and entry boxes; the boxes' normalising is
// tested through the palette and goto windows.
#include <gtest/gtest.h>

#include "app/NumericText.h"

namespace kestro::app {
namespace {

TEST(NumericText, ReadsTheLeadingNumberAndWritesTheShortestDecimal) {
    EXPECT_EQ(NumericValue("  12ab"), 12);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("+7x"), 7);
    EXPECT_EQ(NumericValue(".5"), 0.5);
    EXPECT_EQ(NumericValue("1.2.3"), 1.2);
    EXPECT_GT(NumericValue(std::string(400, '9')), 1e300);  // too long for a double: huge, not 0

    EXPECT_EQ(DecimalText(2.5), "2.5");
    EXPECT_EQ(DecimalText(-0.0), "0");
    EXPECT_EQ(DecimalText(0.1 + 0.2), "0.30000000000000004");
}

}  // namespace
}  // namespace kestro::app
