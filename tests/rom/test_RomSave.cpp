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

std::size_t EntriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

RomImage OpenOrFail(const std::string& path) {
    auto result = OpenRom(path);
    EXPECT_TRUE(result.Accepted()) << result.message.text;
    return result.image;
}

TEST(SaveRom, WritesTheEditedHeaderAndKeepsPermissions) {
    TempDir dir;
    const std::string path = dir.File("golf.vb");
    RomBuilder().Title("GOLF").Maker("01").GameCode("VVGE").WriteTo(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    RomImage image = OpenOrFail(path);
    ApplyHeader(image, {"ABC", "1", "VMCJ", 255});
    auto result = WriteImage(image);
    ASSERT_TRUE(result.ok) << result.reason;

    EXPECT_EQ(ReadBytes(path), image.data);
    auto reopened = OpenOrFail(path);
    EXPECT_EQ(reopened.Header(), (RomHeader{"ABC", "1", "VMCJ", 255}));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);  // no temporary file left beside it
}

TEST(SaveRom, ALinkedRomIsSavedThroughItsLink) {
    TempDir dir;
    const std::string real = dir.File("real.vb");
    const std::string link = dir.File("link.vb");
    RomBuilder().WriteTo(real);
    fs::create_symlink(real, link);

    RomImage image = OpenOrFail(link);
    ApplyHeader(image, {"LINKED", "01", "VLKE", 0});
    ASSERT_TRUE(WriteImage(image).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), image.data);
}

TEST(SaveRom, AFailedSaveGivesAReasonAndLeavesNoTrace) {
    TempDir dir;
    const std::string notADir = dir.File("plain.txt");
    WriteBytes(notADir, {'x'});
    RomImage image;
    image.data = RomBuilder().Build();
    image.path = notADir + "/rom.vb";

    auto result = WriteImage(image);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("Not a directory"), std::string::npos) << result.reason;
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    auto message = SaveFailedMessage(image.path, result.reason);
    EXPECT_EQ(message.title, "Save failed");
    EXPECT_EQ(message.icon, app::MessageIcon::Exclamation);
    EXPECT_NE(message.text.find(image.path), std::string::npos);
    EXPECT_NE(message.text.find("\rThe file was left as it was."), std::string::npos);
}

}  // namespace
}  // namespace kestro::rom
