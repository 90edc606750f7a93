// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/IniSettings.h"

#include <cstdlib>
#include <fstream>
#include <vector>

#include "base/Paths.h"
#include "base/SettingsKeys.h"

namespace kestro::base {

namespace {

// A settings file is a few kilobytes; anything beyond this is not ours.
constexpr std::size_t kMaxSettingsFile = 4 * 1024 * 1024;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A key as Qt's INI format escapes it: "\" stands for "/", %XX and %UXXXX for others.
std::string UnescapeKey(std::string_view key) {
    // The number that n hex digits after position i make, or -1.
    auto hexAt = [&](std::size_t i, std::size_t n) {
        if (i + n > key.size()) return -1;
        int code = 0;
        for (std::size_t k = i; k < i + n; ++k) {
            if (HexValue(key[k]) < 0) return -1;
            code = code * 16 + HexValue(key[k]);
        }
        return code;
    };
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        if (c == '\\') {
            out += '/';
        } else if (c == '%' && i + 1 < key.size() && key[i + 1] == 'U' && hexAt(i + 2, 4) >= 0) {
            AppendUtf8(out, static_cast<unsigned>(hexAt(i + 2, 4)));
            i += 5;
        } else if (c == '%' && hexAt(i + 1, 2) >= 0) {
            AppendUtf8(out, static_cast<unsigned>(hexAt(i + 1, 2)));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// One value as Qt reads it: quotes keep blanks and commas, backslash
// escapes (\n, \", \\, \xHHHH, \ooo), unquoted blanks at the ends dropped,
// an unquoted comma separating the items of a list.
std::vector<std::string> UnescapeValue(std::string_view text) {
    std::vector<std::string> items(1);
    bool quoted = false;     // inside quotes now
    bool wasQuoted = false;  // the current item had quotes
    std::size_t keep = 0;    // what the unquoted end trimming may not cut
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    auto chop = [&](std::string& item) {
        while (item.size() > keep && (item.back() == ' ' || item.back() == '\t')) item.pop_back();
    };
    skipBlanks();
    while (i < text.size()) {
        std::string& item = items.back();
        const char c = text[i];
        if (c == '\\') {
            if (++i >= text.size()) break;
            const char e = text[i++];
            static constexpr std::string_view kFrom = "abfnrtv\"?'\\", kTo = "\a\b\f\n\r\t\v\"?'\\";
            if (const auto at = kFrom.find(e); at != std::string_view::npos) {
                item += kTo[at];
            } else if (e == 'x') {
                unsigned code = 0;
                while (i < text.size() && HexValue(text[i]) >= 0) code = (code * 16 + HexValue(text[i++])) & 0xFFFF;
                AppendUtf8(item, code);
            } else if (e >= '0' && e <= '7') {
                unsigned code = static_cast<unsigned>(e - '0');
                while (i < text.size() && text[i] >= '0' && text[i] <= '7')
                    code = (code * 8 + (text[i++] - '0')) & 0xFFFF;
                AppendUtf8(item, code);
            }  // any other escaped character is dropped, as Qt does
            keep = item.size();
        } else if (c == '"') {
            ++i;
            wasQuoted = true;
            quoted = !quoted;
            if (!quoted) skipBlanks();
        } else if (c == ',' && !quoted) {
            if (!wasQuoted) chop(item);
            items.emplace_back();
            wasQuoted = false;
            keep = 0;
            ++i;
            skipBlanks();
        } else {
            item += c;
            ++i;
        }
    }
    if (!wasQuoted) chop(items.back());
    return items;
}

// Qt's text form of a string value back to the string.
std::string ValueText(std::string_view raw) {
    const std::vector<std::string> items = UnescapeValue(raw);
    if (items.size() != 1) return {};  // a list reads as no text, as in the program
    const std::string& value = items.front();
    if (value.rfind("@@", 0) == 0) return value.substr(1);
    if (value.rfind("@String(", 0) == 0 && value.back() == ')') return value.substr(8, value.size() - 9);
    if (value == "@Invalid()") return {};
    return value;
}

// The lines of the text: CR, LF or CR LF end them; a backslash keeps the next
// character, so an escaped line end continues the line.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            if (i + 2 < text.size() && text[i + 1] == '\r' && text[i + 2] == '\n') ++i;
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

std::string UserSettingsFile() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        config = JoinPath(home != nullptr ? home : "", ".config");
    }
    const std::string application(kSettingsApplication);
    return JoinPath(JoinPath(config, application), application + ".ini");
}

std::map<std::string, std::string> ParseIniSection(std::string_view text, std::string_view section) {
    std::map<std::string, std::string> values;
    bool inSection = false;
    for (std::string_view line : Lines(text)) {
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos && UnescapeKey(line.substr(1, close - 1)) == section;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) continue;
        values[UnescapeKey(Trim(line.substr(0, equals)))] = ValueText(line.substr(equals + 1));
    }
    return values;
}

IniSettingsStore IniSettingsStore::Load(const std::string& path) {
    IniSettingsStore store;
    std::ifstream in(path, std::ios::binary);
    if (!in) return store;
    std::string text(kMaxSettingsFile, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    store.m_values = ParseIniSection(text, kSettingsSection);
    return store;
}

std::optional<std::string> IniSettingsStore::Find(const std::string& key) const {
    auto it = m_values.find(key);
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

void IniSettingsStore::Write(const std::string& key, const std::string& value) {
    m_values[key] = value;
}

}  // namespace kestro::base
