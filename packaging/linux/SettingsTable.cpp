// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the kestro-utils man page from its template, with the FILES
// section's list of settings taken from the program's own key table, so that
// the page names every key with its range and default.
//   kestro_settings_table TEMPLATE OUT VERSION
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "base/SettingsKeys.h"

namespace {

using kestro::base::SettingDescription;
using kestro::base::SettingKind;

// What a key holds and its default; keys sharing a row (a colour's red, green
// and blue) give their defaults in order when they differ.
std::string Values(const kestro::base::SettingKey& key, std::string def) {
    switch (key.kind) {
        case SettingKind::YesNo: return "True or False; default " + def + ".";
        case SettingKind::CheckBox: return "0 or 1; default " + def + ".";
        case SettingKind::Whole:
            return "A whole number from " + std::to_string(key.low) + " to " + std::to_string(key.high) + "; default " +
                   def + ".";
        case SettingKind::Directory: return "A directory; default the home directory.";
        case SettingKind::Text: return def.empty() ? "Text; default empty." : "Text; default " + def + ".";
    }
    return {};
}

bool SameRow(const SettingDescription& a, const SettingDescription& b) {
    return a.meaning == b.meaning && a.key.kind == b.key.kind && a.key.low == b.key.low && a.key.high == b.key.high;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::cerr << "usage: kestro_settings_table TEMPLATE OUT VERSION\n";
        return 2;
    }
    const auto described = kestro::base::DescribedSettingKeys();
    std::string table;
    for (std::size_t first = 0, last; first < described.size(); first = last + 1) {
        if (described[first].meaning.empty()) {
            std::cerr << "kestro_settings_table: the key \"" << described[first].key.key << "\" has no meaning\n";
            return 1;
        }
        // Keys that differ only by name and default (a colour's three parts, the recent ROMs) share a row.
        last = first;
        while (last + 1 < described.size() && SameRow(described[first], described[last + 1])) ++last;
        std::string names(described[first].key.key);
        std::string defaults(described[first].key.defaultText);
        bool sameDefault = true;
        for (std::size_t i = first + 1; i <= last; ++i) {
            if (last - first < 3) names += ", " + std::string(described[i].key.key);
            defaults += ", " + std::string(described[i].key.defaultText);
            sameDefault = sameDefault && described[i].key.defaultText == described[first].key.defaultText;
        }
        if (last - first >= 3) names += " to " + std::string(described[last].key.key);
        if (sameDefault) defaults = described[first].key.defaultText;
        table += ".TP\n.B " + names + "\n" + std::string(described[first].meaning) + ". " +
                 Values(described[first].key, defaults) + "\n";
    }

    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string page = text.str();
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"@SETTINGS@\n", table},
                                      std::pair<std::string, std::string>{"@VERSION@", argv[3]}}) {
        const std::size_t at = page.find(mark);
        if (!in || at == std::string::npos) {
            std::cerr << "kestro_settings_table: " << argv[1] << " has no " << mark << '\n';
            return 1;
        }
        page.replace(at, mark.size(), value);
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page;
    return out.good() ? 0 : 1;
}
