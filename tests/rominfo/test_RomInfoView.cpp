#include <gtest/gtest.h>

#include "rominfo/RomInfoView.h"
#include "support/core/RomBuilder.h"

namespace kestro::rominfo {
namespace {

using kestro::test::RomBuilder;

rom::RomImage Image(const RomBuilder& builder) {
    rom::RomImage image;
    image.data = builder.Build();
    image.size = static_cast<std::int32_t>(image.data.size());
    return image;
}

TEST(RomInfoView, FieldsAsTheWindowShowsThem) {
    auto view = DescribeRom(Image(RomBuilder::KnownDump("Red Alarm (J) [!]").Maker("e4").Version(3)), true);
    EXPECT_EQ(view.title, "REDALARM");
    EXPECT_EQ(view.reading, "REDALARM");
    EXPECT_EQ(view.makerIndex, std::nullopt);  // the box upper-cases what is typed; the header holds "e4"
    EXPECT_EQ(view.versionText, "1.3");
    EXPECT_EQ(view.sizeText, "524288 Bytes  (4 MBit)");
    ASSERT_TRUE(view.identification);
    EXPECT_EQ(view.identification->label, "Red Alarm (J) [h]");

    auto quiet = DescribeRom(Image(RomBuilder().Maker("E4").Title("\xB2\xDD\xBD\xCF\xB3\xBD")), false);
    EXPECT_EQ(quiet.makerIndex, 9);
    EXPECT_EQ(quiet.reading, "Insumausu");
    EXPECT_FALSE(quiet.identification);  // no checksum is taken with identification off
}

}  // namespace
}  // namespace kestro::rominfo
