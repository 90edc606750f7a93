// SPDX-License-Identifier: GPL-3.0-or-later
// Palette files and the twelve colour keys.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/SettingsKeys.h"
#include "support/core/FakePrograms.h"
#include "support/core/SpecialFiles.h"
#include "support/core/TempDir.h"
#include "tiles/PaletteFile.h"

namespace kestro::tiles {
namespace {

namespace fs = std::filesystem;

using test::FileText;
using test::WriteText;

base::Message RefusalOf(const std::string& path) {
    auto result = ReadPaletteFile(path);
    if (auto* m = std::get_if<base::Message>(&result)) return *m;
    ADD_FAILURE() << path << " was accepted";
    return {};
}

TEST(PaletteFile, SavedFileIsFifteenBytesAndReadsBackTheSameAFailedWriteLeavesNothing) {
    test::TempDir dir;
    const std::string path = dir.File("vb.pvb");
    ASSERT_TRUE(WritePaletteFile(path, kVbPalette));
    EXPECT_EQ(FileText(path), std::string("PAL\xFF\0\0\xC0\0\0\x80\0\0\x40\0\0", 15));

    const TilePalette edges{{{{0, 255, 1}, {254, 0, 255}, {10, 20, 30}, {255, 255, 255}}}};
    ASSERT_TRUE(WritePaletteFile(path, edges));  // replaces the first file
    auto read = ReadPaletteFile(path);
    ASSERT_TRUE(std::holds_alternative<TilePalette>(read));
    EXPECT_EQ(std::get<TilePalette>(read), edges);
    // Nothing but the file itself is left in the directory.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

    // A failed write says why and leaves nothing.
    auto failed = WritePaletteFile(dir.File("gone/new.pvb"), kGreyPreset);
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.reason.find("gone"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.File("gone")));
}

// The palette window shows a foreign file's refusal; here every kind of file
// that is not a palette, and the bytes past the fifteenth that are not read.
TEST(PaletteFile, RefusesWhatIsNoPaletteAndReadsOnlyFifteenBytes) {
    test::TempDir dir;
    const base::Message missing{"Invalid filename", "File does not exist.", base::MessageIcon::Exclamation};
    const base::Message foreign{"Invalid Kestro palette", "File is not a Kestro palette file.",
                                base::MessageIcon::Exclamation};
    EXPECT_EQ(RefusalOf(dir.File("none.pvb")), missing);
    EXPECT_FALSE(fs::exists(dir.File("none.pvb")));      // the attempt created nothing
    EXPECT_EQ(RefusalOf(dir.Path().string()), missing);  // a directory is no file
    WriteText(dir.File("empty.pvb"), "");
    EXPECT_EQ(RefusalOf(dir.File("empty.pvb")), missing);
    WriteText(dir.File("short.pvb"), "PAL\x01\x02");
    EXPECT_EQ(RefusalOf(dir.File("short.pvb")), foreign);

    WriteText(dir.File("long.pvb"), std::string("PAL\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0CXYZ!!", 20));
    auto read = ReadPaletteFile(dir.File("long.pvb"));
    ASSERT_TRUE(std::holds_alternative<TilePalette>(read));
    EXPECT_EQ(std::get<TilePalette>(read), (TilePalette{{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}}}));
}

// The windows read and write the keys as the tests of the palette window and
// tile viewer show; here values out of range or not numbers at all.
TEST(TilePaletteSettings, ValuesAreHeldInRangeAndGarbageReadsAsTheDefault) {
    base::MemorySettingsStore store;
    store.Write("White Tile Green", "300");
    store.Write("L Grey Tile Red", "-4");
    store.Write("Black Tile Blue", "blue");
    const TilePalette read = ReadTilePalette(store, kVbPalette);
    EXPECT_EQ(read.colours[0], (Rgb{255, 255, 0}));
    EXPECT_EQ(read.colours[1], (Rgb{0, 0, 0}));
    EXPECT_EQ(read.colours[3], (Rgb{64, 0, 0}));
}

}  // namespace
}  // namespace kestro::tiles
