// SPDX-License-Identifier: GPL-3.0-or-later
// Patches: made and applied in each format, refused when damaged, and checked
// against the base they were made for.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "patch/BaseCheck.h"
#include "patch/Patch.h"
#include "patch/PatchReader.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

namespace kestro::patch {
namespace {

Bytes Random(std::mt19937& rng, std::size_t size) {
    Bytes out(size);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

// The modified ROM of each kind of change the formats must carry.
Bytes Modified(const Bytes& original, int kind, std::mt19937& rng) {
    Bytes out = original;
    const std::size_t n = out.size();
    switch (kind) {
        case 0:  // scattered edits, one long run of one byte
            for (int i = 0; i < 40; ++i) out[rng() % n] ^= 0x5A;
            std::fill(out.begin() + n / 3, out.begin() + n / 3 + 300, 0xFF);
            break;
        case 1:  // a block moved
            std::copy(original.begin(), original.begin() + 4096, out.begin() + n / 2);
            break;
        case 2:  // bytes inserted
            out.insert(out.begin() + n / 4, 1000, 0x11);
            break;
        case 3:  // cut short
            out.resize(n - n / 3);
            out[10] ^= 1;
            break;
        case 4:  // grown, the new end equal to zero filler
            out.resize(n + 5000, 0);
            out[n + 20] = 7;
            break;
    }
    return out;
}

// BPS and UPS also name their base and result: another base is refused unless
// forced, and then both are warned of; UPS undoes itself on its own result.
TEST(Patch, CreatedPatchesGiveTheModifiedFileBackInEveryFormatAndGuardTheirBase) {
    std::mt19937 rng(23);
    for (int kind = 0; kind < 5; ++kind) {
        const Bytes original = Random(rng, 64 * 1024 + kind * 4099);
        const Bytes modified = Modified(original, kind, rng);
        Bytes other = original;
        other[0] ^= 1;
        for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps, PatchFormat::Ups}) {
            SCOPED_TRACE(std::string(FormatName(format)) + " change " + std::to_string(kind));
            const CreateResult created = CreatePatch(format, original, modified);
            ASSERT_TRUE(created.Ok()) << created.error;
            const ApplyResult applied = ApplyPatch(created.patch, original);
            ASSERT_EQ(applied.status, ApplyStatus::Applied) << applied.error;
            EXPECT_TRUE(applied.target == modified);
            if (format == PatchFormat::Ips) continue;
            const ReadResult read = ReadPatch(created.patch);
            ASSERT_TRUE(read.info) << read.error;
            EXPECT_EQ(read.info->sourceCrc, static_cast<std::uint32_t>(crc32(0, original.data(), original.size())));
            EXPECT_EQ(read.info->targetSize, modified.size());
            EXPECT_EQ(ApplyPatch(created.patch, other).status, ApplyStatus::WrongBase);
            EXPECT_EQ(ApplyPatch(created.patch, other, true).warnings.size(), 2u);  // the base, then the result
            if (format == PatchFormat::Ups) { EXPECT_TRUE(ApplyPatch(created.patch, modified).target == original); }
        }
        // Moved data is copied, not spelled out.
        if (kind <= 2) {
            EXPECT_LT(CreateBps(original, modified).size(), CreateIps(original, modified).patch.size()) << kind;
        }
    }
}

Bytes Ips(std::initializer_list<std::uint8_t> body) {
    Bytes out{'P', 'A', 'T', 'C', 'H'};
    out.insert(out.end(), body);
    return out;
}

TEST(Patch, IpsRecordsRunsAndTruncation) {
    const Bytes source(16, 0xAA);
    auto with = [&](std::size_t size, std::size_t at, Bytes bytes) {
        Bytes out = source;
        out.resize(size, 0);
        std::copy(bytes.begin(), bytes.end(), out.begin() + at);
        return out;
    };
    const std::pair<Bytes, Bytes> cases[] = {
        {Ips({0, 0, 2, 0, 2, 1, 2, 'E', 'O', 'F'}), with(16, 2, {1, 2})},
        {Ips({0, 0, 4, 0, 0, 0, 3, 7, 'E', 'O', 'F'}), with(16, 4, {7, 7, 7})},
        {Ips({0, 0, 18, 0, 1, 9, 'E', 'O', 'F'}), with(19, 18, {9})},  // grows, zero-filled
        {Ips({'E', 'O', 'F', 0, 0, 5}), with(5, 0, {})},
    };
    for (const auto& [patch, expected] : cases) {
        const ApplyResult r = ApplyPatch(patch, source);
        ASSERT_EQ(r.status, ApplyStatus::Applied) << r.error;
        EXPECT_EQ(r.target, expected);
    }
}

TEST(Patch, IpsCreationStepsAroundTheEofOffsetAndStopsAt16MiB) {
    Bytes original(0x454F46 + 64, 0);
    Bytes modified = original;
    modified[0x454F46] = 1;                                                            // a plain record
    std::fill(modified.begin() + 0x454F46 + 20, modified.begin() + 0x454F46 + 40, 3);  // and a run
    const CreateResult created = CreateIps(original, modified);
    ASSERT_TRUE(created.Ok());
    // No record head may read as the "EOF" mark; the first record is cut off early otherwise.
    const ApplyResult applied = ApplyPatch(created.patch, original);
    ASSERT_EQ(applied.status, ApplyStatus::Applied) << applied.error;
    EXPECT_TRUE(applied.target == modified);

    const CreateResult tooLarge = CreateIps({}, Bytes((16u << 20) + 1, 1));
    EXPECT_FALSE(tooLarge.Ok());
    EXPECT_NE(tooLarge.error.find("16 MiB"), std::string::npos);
    EXPECT_TRUE(CreateIps({}, Bytes(16u << 20, 1)).Ok());
}

// A hand-written BPS body with a correct footer, so that only the body is at fault.
Bytes Bps(const Bytes& source, Bytes body) {
    Bytes out{'B', 'P', 'S', '1'};
    out.insert(out.end(), body.begin(), body.end());
    detail::PutLe32(out, Crc32(source));
    detail::PutLe32(out, 0);
    detail::PutLe32(out, Crc32(out));
    return out;
}

TEST(Patch, DamagedPatchesAreRefusedNamingTheByte) {
    const Bytes source(64, 1);
    Bytes target = source;
    target[5] = 2;
    target.push_back(3);
    const std::pair<Bytes, std::string> cases[] = {
        {Ips({0, 0, 1, 0, 9, 1}), "byte 10 (0xA): a record runs past"},
        {Ips({0, 0, 1, 0, 0, 0, 0, 1, 'E', 'O', 'F'}), "byte 5 (0x5): an RLE record has the length 0"},
        {Ips({'E', 'O', 'F', 0, 0, 1, 9}), "byte 11 (0xB): bytes follow"},
        {Bps(source, {0x80 | 64, 0x80 | 64, 0x80, 0x80 | 2, 0x80 | 3}), "byte 8 (0x8): a source copy points outside"},
        {Bps(source, {0x80 | 64, 0x80 | 64, 0x80, 0x80 | 3, 0x80}), "byte 7 (0x7): a target copy comes before"},
        {Bps(source, {0x80 | 64, 0x80 | 4, 0x80, 0x80 | (16 << 2)}), "byte 7 (0x7): an action writes past the end"},
        {Bps(source, {0x80 | 64, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}), "byte 5 (0x5): the target size is larger"},
        {Bps(source, {0x80 | 64, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}), "byte 5 (0x5): the target size overflows"},
        {Bps(source, {0x80 | 64, 0x80 | 64, 0x80, 0x80 | (1 << 2)}), "byte 8 (0x8): the actions end before"},
    };
    for (const auto& [patch, where] : cases) {
        const ApplyResult r = ApplyPatch(patch, source);
        EXPECT_EQ(r.status, ApplyStatus::Damaged);
        EXPECT_NE(r.error.find(where), std::string::npos) << r.error;
        EXPECT_TRUE(r.target.empty());
    }
    // Cut at any length, every patch is refused.
    for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps, PatchFormat::Ups}) {
        const Bytes whole = CreatePatch(format, source, target).patch;
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            const ApplyResult r = ApplyPatch(ByteView(whole).first(cut), source);
            EXPECT_EQ(r.status, ApplyStatus::Damaged) << FormatName(format) << " cut at " << cut;
            EXPECT_EQ(r.error.find("The patch is damaged at byte"), 0u) << r.error;
            EXPECT_TRUE(r.target.empty());
        }
    }
}

TEST(Patch, BpsMetadataIsKeptAsWritten) {
    const Bytes source(64, 1), target(65, 2), patch = CreateBps(source, target, "<author>k</author>");
    EXPECT_EQ(ReadPatch(patch).info->metadata, "<author>k</author>");
    EXPECT_EQ(ApplyPatch(patch, source).info.metadata, "<author>k</author>") << "and as applied";
}

using test::RomBuilder;

struct Dumps {
    Bytes japan = RomBuilder::KnownDump("Red Alarm (J) [!]").Build();
    Bytes usa = RomBuilder::KnownDump("Red Alarm (U) [!]").Build();
    Bytes hack = [this] {
        Bytes b = japan;
        b[0x100] ^= 0xFF;  // outside the header: no dump any more
        return b;
    }();
};

// Refusals and result names by the collection's names are checked through the
// ROM information window; here those told without it.
TEST(BaseCheck, WithoutTheCollectionTheBaseAndAnUnknownResultAreToldBySizeAndCrc) {
    const Dumps d;
    // (The command line leaves this text to this test.)
    const std::string says = "This patch is for a file of " + std::to_string(d.japan.size()) + " bytes with CRC32 " +
                             CrcHex(Crc32(d.japan)) + "; the opened file is Red Alarm (U) [!].";
    EXPECT_EQ(
        RefusedMessage(ApplyChecked(CreateUps(d.japan, d.hack), d.usa, false, nullptr)).text.substr(0, says.size()),
        says);
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
    EXPECT_FALSE(IsDumpName("Red Alarm (Japan).vb", nullptr));
    EXPECT_EQ(PatchedFileName("/r/Red Alarm (J) [!].vb", "/p/English.bps"), "/r/Red Alarm (J) [!] (English).vb");
}

}  // namespace
}  // namespace kestro::patch
