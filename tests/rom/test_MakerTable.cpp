#include <gtest/gtest.h>

#include "rom/MakerTable.h"

namespace kestro::rom {
namespace {

TEST(MakerTable, LooksUpCodesExactly) {
    ASSERT_EQ(kMakers.size(), 13u);
    EXPECT_EQ(FindMaker("01"), 0);
    EXPECT_EQ(FindMaker("E4"), 9);
    EXPECT_EQ(FindMaker("VE"), 12);
    EXPECT_EQ(FindMaker("01 "), 0);  // trailing spaces of the header field do not count
    EXPECT_EQ(FindMaker("e4"), std::nullopt);
    EXPECT_EQ(FindMaker("ZZ"), std::nullopt);
    EXPECT_EQ(FindMaker(""), std::nullopt);
    EXPECT_EQ(MakerCode(4), "67");
    EXPECT_EQ(MakerCode(13), "");
    EXPECT_EQ(MakerCode(-1), "");
}

TEST(MakerTable, GivesListAndReportNames) {
    EXPECT_EQ(MakerListName("8B"), "Bullet-Proof Software");
    EXPECT_EQ(MakerReportName("8B"), " (Bullet-Proof S/W)");
    EXPECT_EQ(MakerListName("DB"), "Reality Boy / Brannock");
    EXPECT_EQ(MakerReportName("DB"), " (Reality Boy)");
    EXPECT_EQ(MakerListName("E4"), "T&E Soft");
    EXPECT_EQ(MakerListName("0b"), std::nullopt);
    EXPECT_EQ(MakerReportName("0b"), " (UNKNOWN MANU ID)");
    for (const Maker& maker : kMakers) {
        EXPECT_EQ(MakerCode(*FindMaker(maker.code)), maker.code);
        EXPECT_EQ(maker.reportName.substr(0, 2), " (");
    }
}

}  // namespace
}  // namespace kestro::rom
