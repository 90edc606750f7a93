#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(SaveRom, SaveAsOntoALongerFileLeavesExactlyTheRom) {
    TempDir dir;
    const std::string source = dir.File("a.vb");
    const std::string other = dir.File("b.vb");
    RomBuilder().Size(4096).WriteTo(source);
    WriteBytes(other, std::vector<std::uint8_t>(100000, 0xAA));

    RomImage image = OpenOrFail(source);
    ASSERT_TRUE(WriteImageTo(image, other).ok);
    EXPECT_EQ(ReadBytes(other), image.data);
    EXPECT_EQ(ReadBytes(source), image.data);
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

TEST(SaveRom, AReadOnlyRomIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    const std::string path = dir.File("locked.vb");
    auto original = RomBuilder().WriteTo(path);
    fs::permissions(path, fs::perms::owner_read);

    RomImage image = OpenOrFail(path);
    ApplyHeader(image, {"CHANGED", "01", "VCHE", 1});
    auto result = WriteImage(image);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("Permission denied"), std::string::npos) << result.reason;
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace kestro::rom
