// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CommandSupport.h"

using nlohmann::ordered_json;

// A list written item by item reads exactly as the whole report printed at once.
TEST(JsonStream, ListWrittenItemByItemMatchesTheWholeReport) {
    const std::vector<ordered_json> items{
        {{"name", "A\xB1.vb"}, {"size", 3}, {"hashes", {{"crc", "00"}, {"sha1", nullptr}}}},
        {{"name", "two\nlines"}, {"tags", ordered_json::array()}, {"parts", {1, {{"x", "y"}}}}},
    };
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, items.size()}) {
        ordered_json whole = {{"directory", "/r\xE9s"}, {"files", ordered_json::array()}, {"messages", {"m"}}};
        for (std::size_t i = 0; i < count; ++i) whole["files"].push_back(items[i]);
        ordered_json shell = whole;
        shell["files"] = ordered_json::array();
        std::ostringstream out;
        kestro::cli::WriteJsonStreamingList(out, shell, "files", count, [&](std::size_t i) { return items[i]; });
        EXPECT_EQ(out.str(), kestro::cli::JsonText(whole)) << count << " items";
    }
}
