// Numbers held as text in labels and entry boxes.
#include <gtest/gtest.h>

#include "app/NumericText.h"

namespace kestro::app {
namespace {

TEST(NumericText, ReadsTheLeadingNumber) {
    EXPECT_EQ(NumericValue("  12ab"), 12);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("-5"), -5);
    EXPECT_EQ(NumericValue("+7x"), 7);
    EXPECT_EQ(NumericValue("2.5 seconds"), 2.5);
    EXPECT_EQ(NumericValue(".5"), 0.5);
    EXPECT_EQ(NumericValue("1.2.3"), 1.2);
    EXPECT_GT(NumericValue(std::string(400, '9')), 1e300);  // too long for a double: huge, not 0
}

TEST(NumericText, WritesShortestDecimal) {
    EXPECT_EQ(DecimalText(48), "48");
    EXPECT_EQ(DecimalText(2.5), "2.5");
    EXPECT_EQ(DecimalText(-1), "-1");
    EXPECT_EQ(DecimalText(-0.0), "0");
    EXPECT_EQ(DecimalText(0.1 + 0.2), "0.30000000000000004");
}

TEST(NumericText, EntryBoxesNormaliseAsTheUserTypes) {
    EXPECT_EQ(NormalisedNumberText("300", 0, 255), "255");
    EXPECT_EQ(NormalisedNumberText("-5", 0, 255), "0");
    EXPECT_EQ(NormalisedNumberText("12ab", 0, 255), "12");
    EXPECT_EQ(NormalisedNumberText("007", 0, 255), "7");
    EXPECT_EQ(NormalisedNumberText("", 0, 255), "");
    EXPECT_EQ(NormalisedNumberText(std::string(400, '9'), 0, 255), "255");
}

}  // namespace
}  // namespace kestro::app
