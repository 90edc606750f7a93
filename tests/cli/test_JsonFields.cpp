// SPDX-License-Identifier: GPL-3.0-or-later
// A name that is not UTF-8 keeps its exact bytes in the JSON.
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {
namespace {

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
