// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/RedDragonOptions.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "base/NumericText.h"
#include "base/Paths.h"

namespace kestro::emus {

namespace {

// The longest known key; an "=" further into a line cannot end one.
constexpr std::size_t kLongestKey = 8;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerText(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

const RedDragonOptionLine* FindLine(std::string_view key) {
    if (key == "palmode") key = "palmod";  // the key the old reader looked for
    for (const RedDragonOptionLine& line : kRedDragonOptionLines) {
        if (line.key == key) return &line;
    }
    return nullptr;
}

void Store(RedDragonOptions& options, const RedDragonOptionLine& line, int value) {
    if (line.field != nullptr) {
        options.*line.field = value;
    } else {
        options.keys[static_cast<std::size_t>(line.keyIndex)] = value;
    }
}

void ReadLine(RedDragonOptions& options, std::string_view line) {
    // The value is the number the line's last four characters start with.
    const std::string_view last4 = line.substr(line.size() < 4 ? 0 : line.size() - 4);
    const int value = static_cast<int>(std::nearbyint(base::NumericValue(last4)));
    for (std::size_t p = 0; p < line.size() && p <= kLongestKey; ++p) {
        if (line[p] != '=') continue;
        const std::string key = LowerText(line.substr(0, p));
        if (key == "scrmode" && LowerText(line.substr(0, 11)) == "scrmode=lu=") {
            // A line the old writer ran together: no screen mode, then the left-pad-up code.
            options.screenMode = 0;
            options.keys[kKeyLeftUp] = value;
        } else if (const RedDragonOptionLine* known = FindLine(key)) {
            Store(options, *known, value);
        }
    }
}

}  // namespace

std::string RedDragonOptionsPath(const std::string& directory) {
    const std::string name(kRedDragonOptionsFile);
    return base::FindFileNoCase(directory, name).value_or(base::JoinPath(directory, name));
}

RedDragonOptions ParseRedDragonOptions(std::string_view text) {
    RedDragonOptions options;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) ReadLine(options, text.substr(start, end - start));
        start = end + 1;
    }
    return options;
}

std::optional<RedDragonOptions> ReadRedDragonOptions(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxOptionsFileRead, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseRedDragonOptions(text);
}

std::string FourDigits(int value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

std::string RedDragonOptionsText(const RedDragonOptions& options) {
    std::string text;
    for (const RedDragonOptionLine& line : kRedDragonOptionLines) {
        const int value =
            line.field != nullptr ? options.*line.field : options.keys[static_cast<std::size_t>(line.keyIndex)];
        text += std::string(line.key) + "=" + FourDigits(value) + "\r\n";
    }
    return text;
}

}  // namespace kestro::emus
