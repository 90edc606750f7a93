// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "patch/BaseCheck.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

namespace kestro::patch {
namespace {

using test::RomBuilder;

struct Dumps {
    Bytes japan = RomBuilder::KnownDump("Red Alarm (J) [!]").Build();
    Bytes usa = RomBuilder::KnownDump("Red Alarm (U) [!]").Build();
    Bytes hack = [this] {
        Bytes b = japan;
        b[0x100] ^= 0xFF;  // outside the header: no dump any more
        return b;
    }();
    romdb::Catalogue dat{*romdb::ParseDat(test::LogiqxDat("t", {{"Red Alarm (Japan)", {{"j.vb", japan}}},
                                                                {"Red Alarm (USA)", {{"u.vb", usa}}}}))
                              .dat};
};

// Refusals and result names, by the collection's names and by the built-in
// table's, are checked through the ROM information window and the command line.
TEST(BaseCheck, AnIpsResultThatIsNoDumpIsWarnedOf) {
    const Dumps d;
    const CheckedApply outcome = ApplyChecked(CreateIps(d.japan, d.hack).patch, d.japan, false, nullptr);
    EXPECT_FALSE(outcome.WrongBase());
    EXPECT_EQ(ResultNotes(outcome),
              (std::vector<std::string>{"The patched ROM is a file of " + std::to_string(d.japan.size()) +
                                            " bytes with CRC32 " + CrcHex(Crc32(d.hack)) + ".",
                                        "Warning: the patched ROM is no known dump, though the opened file was Red "
                                        "Alarm (J) [!]. IPS patches carry no checks: make sure the patch is for this "
                                        "dump."}));
}

TEST(BaseCheck, FindsTheBaseInADirectoryOrAZipAndNamesOutputs) {
    const Dumps d;
    test::TempDir dir;
    test::WriteBytes(dir.File("usa.vb"), d.usa);
    test::WriteZip(dir.File("set.zip"), {{"readme.txt", {1, 2}}, {"roms/japan.vb", d.japan}});
    romdb::DiskFileOps disk;
    const auto zipped = FindBase(disk, dir.Path().string(), d.japan.size(), Crc32(d.japan));
    ASSERT_TRUE(zipped);
    EXPECT_EQ(zipped->entry, "roms/japan.vb");
    EXPECT_TRUE(zipped->data == d.japan);
    const auto plain = FindBase(disk, dir.Path().string(), d.usa.size(), Crc32(d.usa));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->path, dir.File("usa.vb"));
    EXPECT_FALSE(FindBase(disk, dir.Path().string(), d.usa.size(), Crc32(d.hack)));

    EXPECT_TRUE(IsDumpName("/x/Red Alarm (J) [!].vb", nullptr));
    EXPECT_TRUE(IsDumpName("Red Alarm (Japan).vb", &d.dat));
    EXPECT_FALSE(IsDumpName("Red Alarm (Japan).vb", nullptr));
    EXPECT_EQ(PatchedFileName("/r/Red Alarm (J) [!].vb", "/p/English.bps"), "/r/Red Alarm (J) [!] (English).vb");
}

}  // namespace
}  // namespace kestro::patch
