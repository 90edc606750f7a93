// SPDX-License-Identifier: GPL-3.0-or-later
// kestro patch: create, apply in a chain with each base checked, force, describe.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "patch/Patch.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

TEST(PatchCommand, CreatesAppliesInOrderAndRefusesTheWrongBase) {
    TempDir dir;
    const auto japan = RomBuilder::KnownDump("Red Alarm (J) [!]").WriteTo(dir.File("j.vb"));
    RomBuilder::KnownDump("Red Alarm (U) [!]").WriteTo(dir.File("u.vb"));
    auto step1 = japan, step2 = japan;
    step1[0x200] = 1;
    step2[0x200] = 1;
    step2[0x300] = 2;
    WriteBytes(dir.File("1.vb"), step1);
    WriteBytes(dir.File("2.vb"), step2);
    const std::string crc1 = patch::CrcHex(patch::Crc32(step1));
    for (const char* out : {"a.bps", "b.ups"}) {
        const bool first = out[0] == 'a';
        const auto made = RunKestro({"patch", "--create", dir.File(first ? "j.vb" : "1.vb"),
                                     dir.File(first ? "1.vb" : "2.vb"), "--out", dir.File(out)});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    // The second patch is checked against the first one's result.
    const auto chain = RunKestro(
        {"patch", dir.File("j.vb"), dir.File("a.bps"), dir.File("b.ups"), "--out", dir.File("out.vb"), "--json"});
    ASSERT_EQ(chain.status, 0) << chain.err;
    EXPECT_EQ(chain.Json()["patches"][1]["expected_base"]["crc32"], crc1);
    EXPECT_TRUE(ReadBytes(dir.File("out.vb")) == step2);

    const auto wrong = RunKestro({"patch", dir.File("u.vb"), dir.File("b.ups"), "--out", dir.File("w.vb")});
    EXPECT_EQ(wrong.status, 1);  // what it says of the base is the base check's test
    EXPECT_NE(wrong.err.find("--force"), std::string::npos) << wrong.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("w.vb")));
    // Forced, the result may not pass for a known dump by its name.
    const std::string dumpName = dir.File("Red Alarm (J) [!].vb");
    EXPECT_EQ(RunKestro({"patch", dir.File("u.vb"), dir.File("b.ups"), "--out", dumpName, "--force"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dumpName));
    EXPECT_EQ(RunKestro({"patch", dir.File("u.vb"), dir.File("b.ups"), "--out", dir.File("w.vb"), "--force"}).status,
              0);

    const auto info = RunKestro({"patch", "--info", dir.File("a.bps"), "--json"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.Json()["format"], "BPS");
    EXPECT_EQ(info.Json()["target"]["crc32"], crc1);
    EXPECT_TRUE(ReadBytes(dir.File("j.vb")) == japan);
}

}  // namespace
}  // namespace kestro::test
