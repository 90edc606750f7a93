// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "rom/RomImage.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::rom {
namespace {

using kestro::test::ReadBytes;
using kestro::test::RomBuilder;
using kestro::test::TempDir;
using kestro::test::WriteBytes;
namespace fs = std::filesystem;

// The window and command-line tests check each refusal's message; here what happens to the files.
TEST(OpenRom, RefusesMissingEmptySmallAndReservedFilesLeavingThemAsTheyWere) {
    TempDir dir;
    EXPECT_EQ(OpenRom(dir.File("missing.vb")).check, RomCheck::Missing);

    // The user's file, empty or not, is not ours to change or delete. The size
    // boundary is more than 544 bytes, checked before the reserved bytes; any
    // non-zero reserved byte is refused.
    const std::string path = dir.File("rom.vb");
    std::vector<std::pair<std::vector<std::uint8_t>, RomCheck>> refused{
        {{}, RomCheck::Missing},
        {RomBuilder().Size(544).Build(), RomCheck::TooSmall},
        {RomBuilder().Size(544).Reserved(2, 1).Build(), RomCheck::TooSmall}};
    for (std::size_t index = 0; index < kReservedLength; ++index)
        refused.push_back({RomBuilder().Title("GOLF").Reserved(index, 0x20).Build(), RomCheck::Invalid});
    for (const auto& [bytes, check] : refused) {
        WriteBytes(path, bytes);
        auto result = OpenRom(path);
        EXPECT_EQ(result.check, check) << bytes.size();
        EXPECT_TRUE(result.image.data.empty());
        EXPECT_EQ(ReadBytes(path), bytes);
    }

    auto bytes = RomBuilder().Size(545).Title("TINY").WriteTo(path);
    auto accepted = OpenRom(path);
    ASSERT_TRUE(accepted.Accepted());
    EXPECT_EQ(accepted.image.size, 545);
    EXPECT_EQ(accepted.image.data, bytes);
}

TEST(RomHeader, OnlyTrailingSpacesAreTrimmed) {
    const std::string titleWithNuls("GOLF\0\0", 6);
    auto header = DecodeHeader(RomBuilder().Title(titleWithNuls).Maker("0 ").GameCode(" VB ").Version(0x0A).Build());
    EXPECT_EQ(header.title, titleWithNuls);
    EXPECT_EQ(header.makerCode, "0");
    EXPECT_EQ(header.gameCode, " VB");
    EXPECT_EQ(VersionText(header.version), "1.10");
    EXPECT_EQ(DecodeHeader(RomBuilder().Title("GOLF                ").Build()).title, "GOLF");
}

// Short fields are padded with spaces and a long title is cut at 20 bytes;
// the reserved bytes, whatever they hold, and everything outside the header stay.
TEST(RomHeader, ApplyPadsFieldsAndLeavesEverythingElse) {
    const auto before = RomBuilder().Title("MARIO CLASH").Reserved(1, 0x55).Build();
    auto data = before;
    ApplyHeader(data, {"A TITLE OF MORE THAN TWENTY BYTES", "1", "VX", 3});
    EXPECT_EQ(HeaderBytes(data), std::string("A TITLE OF MORE THAN\0U\0\0\0"
                                             "1 VX  \x03",
                                             32));
    const auto h = static_cast<std::ptrdiff_t>(HeaderBlockOffset(data.size()));
    std::copy(before.begin() + h, before.begin() + h + kHeaderSize, data.begin() + h);
    EXPECT_EQ(data, before);
}

// The size line itself is checked by the windows and the command line.
TEST(RomHeader, MegabitsHaveFifteenSignificantDigitsAndNoExponent) {
    for (auto [bytes, text] : {std::pair{1000001, "7.62940216064453"}, std::pair{1, "0.00000762939453125"},
                               std::pair{0, "0"}, std::pair{600000, "4.57763671875"}}) {
        EXPECT_EQ(MegabitText(bytes), text) << bytes;
    }
}

RomImage OpenOrFail(const std::string& path) {
    auto result = OpenRom(path);
    EXPECT_TRUE(result.Accepted()) << result.message.text;
    return result.image;
}

TEST(SaveRom, WritesTheEditedHeaderKeepingPermissionsAndLinks) {
    TempDir dir;
    const std::string path = dir.File("golf.vb");
    RomBuilder().Title("GOLF").Maker("01").GameCode("VVGE").WriteTo(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    RomImage image = OpenOrFail(path);
    ApplyHeader(image, {"ABC", "1", "VMCJ", 255});
    auto result = WriteImage(image);
    ASSERT_TRUE(result.ok) << result.reason;

    EXPECT_EQ(ReadBytes(path), image.data);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "no temporary file left";

    // A linked ROM is saved through its link.
    const std::string real = dir.File("real.vb");
    const std::string link = dir.File("link.vb");
    RomBuilder().WriteTo(real);
    fs::create_symlink(real, link);

    image = OpenOrFail(link);
    ApplyHeader(image, {"LINKED", "01", "VLKE", 0});
    ASSERT_TRUE(WriteImage(image).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), image.data);
}

}  // namespace
}  // namespace kestro::rom
