// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/MednafenConfig.h"

#include <algorithm>
#include <set>

namespace kestro::emus {

namespace {

// One line without its end: the key it sets, if it sets one.
std::optional<std::string_view> KeyOf(std::string_view line) {
    if (line.empty() || line.front() == ';') return std::nullopt;
    const std::string_view key = line.substr(0, line.find(' '));
    if (key.empty()) return std::nullopt;
    return key;
}

// The lines of a text, each with its own end ("\n", "\r\n" or none for the last).
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

std::string_view Body(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

MednafenValues ReadMednafenConfig(std::string_view text) {
    MednafenValues values;
    for (std::string_view line : Lines(text)) {
        const std::string_view body = Body(line);
        const auto key = KeyOf(body);
        if (!key) continue;
        const std::string_view value = key->size() < body.size() ? body.substr(key->size() + 1) : std::string_view();
        values[std::string(*key)] = std::string(value);
    }
    return values;
}

std::string UpdateMednafenConfig(std::string_view text, const std::vector<MednafenChange>& changes) {
    const std::vector<std::string_view> lines = Lines(text);
    const std::string newline = !lines.empty() && lines.front().ends_with("\r\n") ? "\r\n" : "\n";
    auto changeOf = [&changes](std::string_view key) {
        return std::find_if(changes.begin(), changes.end(), [key](const MednafenChange& c) { return c.first == key; });
    };
    std::string out;
    std::set<std::string, std::less<>> done;
    for (std::string_view line : lines) {
        const auto key = KeyOf(Body(line));
        const auto change = key ? changeOf(*key) : changes.end();
        if (change == changes.end()) {
            out += line;
            continue;
        }
        if (!change->second || done.contains(change->first)) continue;
        done.insert(change->first);
        out += change->first + " " + *change->second;
        out += line.ends_with('\n') ? std::string(line.ends_with("\r\n") ? "\r\n" : "\n") : newline;
    }
    for (const MednafenChange& change : changes) {
        if (!change.second || done.contains(change.first)) continue;
        if (!out.empty() && out.back() != '\n') out += newline;
        out += change.first + " " + *change.second + newline;
    }
    return out;
}

bool IsBlankConfig(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace kestro::emus
