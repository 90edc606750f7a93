// SPDX-License-Identifier: GPL-3.0-or-later
// JSON fields that mean one thing: the whole-file checksum stays itself
// against a DAT, and a name that is not UTF-8 keeps its exact bytes.
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

TEST(JsonFields, ChecksumIsTheWholeFileChecksumAgainstADatToo) {
    TempDir dir;
    const std::filesystem::path roms = dir.Path() / "roms";
    std::filesystem::create_directory(roms);
    WriteDatCollection(roms);
    WriteText(dir.File("vb.dat"), LogiqxDat("Virtual Boy", CollectionGames()));
    const auto json = RunKestro({"scan", "--json", "--dat", dir.File("vb.dat"), roms.string()}).Json();
    int compared = 0;
    for (const auto& file : json["files"]) {
        if (!file["archive"].is_null() || file["checksum"] == "") continue;
        const auto info = RunKestro({"info", "--json", (roms / file["name"].get<std::string>()).string()}).Json();
        EXPECT_EQ(file["checksum"], info[0]["checksum_b"]) << file["name"];
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

TEST(JsonFields, NamesThatAreNotUtf8KeepTheirBytes) {
    TempDir dir;
    const std::string latin1 = "caf\xE9.vb", odd = "a\\b\xFF.vb", utf8 = "caf\xC3\xA9.vb";
    for (const std::string& name : {latin1, odd, utf8}) RomBuilder::Unknown().WriteTo(dir.File(name));
    const auto scan = RunKestro({"scan", "--json", dir.Path().string()}).Json();
    std::map<std::string, nlohmann::json> bytes;
    for (const auto& file : scan["files"]) bytes[file["name"]] = file.value("name_bytes", nlohmann::json());
    EXPECT_EQ(bytes,
              (std::map<std::string, nlohmann::json>{
                  {"a\\b\xEF\xBF\xBD.vb", "a\\x5Cb\\xFF.vb"}, {"caf\xEF\xBF\xBD.vb", "caf\\xE9.vb"}, {utf8, nullptr}}));

    const auto info = RunKestro({"info", "--json", dir.File(latin1)}).Json();
    EXPECT_EQ(info[0]["path_bytes"], dir.File("caf") + "\\xE9.vb");
    EXPECT_FALSE(info[0].contains("title_bytes"));
}

}  // namespace
}  // namespace kestro::test
