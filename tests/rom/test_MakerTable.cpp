#include <gtest/gtest.h>

#include "rom/MakerTable.h"

namespace kestro::rom {
namespace {

// The ROM information window's maker box and list are tested through the
// window; here the lookups' edges and the names the reports use.
TEST(MakerTable, CodesMatchExactlyAndEveryRowHasItsNames) {
    EXPECT_EQ(FindMaker("01 "), 0);  // trailing spaces of the header field do not count
    EXPECT_EQ(FindMaker("e4"), std::nullopt);
    EXPECT_EQ(FindMaker(""), std::nullopt);
    EXPECT_EQ(MakerCode(13), "");
    EXPECT_EQ(MakerCode(-1), "");
    EXPECT_EQ(MakerReportName("8B"), " (Bullet-Proof S/W)");
    EXPECT_EQ(MakerReportName("0b"), " (UNKNOWN MANU ID)");
    for (const Maker& maker : kMakers) {
        EXPECT_EQ(MakerCode(*FindMaker(maker.code)), maker.code);
        EXPECT_EQ(maker.reportName.substr(0, 2), " (");
    }
}

}  // namespace
}  // namespace kestro::rom
