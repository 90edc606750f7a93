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

TEST(BaseCheck, NamesTheWantedBaseTheOpenedFileAndTheResult) {
    const Dumps d;
    const std::string crc = CrcHex(Crc32(d.japan));
    const std::string size = std::to_string(d.japan.size());
    struct Case {
        Bytes patch;
        const Bytes* opened;
        const romdb::Catalogue* dat;
        std::string says;
    };
    const Case cases[] = {
        {CreateBps(d.japan, d.hack), &d.usa, &d.dat,
         "This patch is for Red Alarm (Japan); the opened file is Red Alarm (USA)."},
        {CreateUps(d.japan, d.hack), &d.usa, nullptr,
         "This patch is for a file of " + size + " bytes with CRC32 " + crc +
             "; the opened file is Red Alarm (U) [!]."},
        {CreateIps(d.japan, d.hack).patch, &d.japan, nullptr,
         "The patched ROM is a file of " + size + " bytes with CRC32 " + CrcHex(Crc32(d.hack)) +
             ".\rWarning: the patched ROM is no known dump, though the opened file was Red Alarm (J) [!]."},
        {CreateBps(d.usa, d.japan), &d.usa, &d.dat, "The patched ROM is Red Alarm (Japan)."},
    };
    for (const Case& c : cases) {
        const CheckedApply outcome = ApplyChecked(c.patch, *c.opened, false, c.dat);
        std::string text = outcome.WrongBase() ? RefusedMessage(outcome).text : "";
        for (const std::string& note : ResultNotes(outcome)) text += (text.empty() ? "" : "\r") + note;
        EXPECT_EQ(text.substr(0, c.says.size()), c.says);
    }
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
