// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/WineRegistryFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace kestro::base {

namespace {

// Ticks from 1601 (FILETIME's start) to 1970.
constexpr WineFileTime kTicks1601To1970 = 116444736000000000ull;
constexpr WineFileTime kTicksPerSecond = 10000000ull;

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperText(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), Upper);
    return text;
}

bool IsHexDigit(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = (b >= 0xF0 && b < 0xF5) ? 3 : (b >= 0xE0 && b < 0xF0) ? 2 : (b >= 0xC2 && b < 0xE0) ? 1 : 0;
        char32_t cp = b & (0x3Fu >> extra);
        bool valid = extra > 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            valid = (c & 0xC0u) == 0x80u;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are no UTF-8.
        valid = valid && !(extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) &&
                !(extra == 3 && (cp < 0x10000 || cp > 0x10FFFF));
        if (!valid) {
            out.push_back(b);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Utf8FromUtf16(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

namespace {

std::u16string Utf16(std::string_view text) {
    return Utf16FromUtf8(text);
}
std::string Utf8(const std::u16string& text) {
    return Utf8FromUtf16(text);
}

// Reads a quoted or bracketed text from pos (just after its opening
// character) up to the unescaped close, undoing Wine's escapes. pos ends
// after the close; nothing when the close is missing.
std::optional<std::u16string> Unescape(std::string_view s, std::size_t& pos, char close) {
    static constexpr std::string_view kNamed = "abefnrtv";
    static constexpr char16_t kCodes[] = {7, 8, 27, 12, 10, 13, 9, 11};
    std::u16string out;
    while (pos < s.size()) {
        char c = s[pos++];
        if (c == close) return out;
        if (c != '\\' || pos >= s.size()) {
            out.push_back(static_cast<unsigned char>(c));
            continue;
        }
        c = s[pos++];
        if (std::size_t k = kNamed.find(c); k != std::string_view::npos) {
            out.push_back(kCodes[k]);
        } else if (c == 'x' && pos < s.size() && IsHexDigit(s[pos])) {
            char16_t v = 0;
            for (int n = 0; n < 4 && pos < s.size() && IsHexDigit(s[pos]); ++n) v = v * 16 + HexValue(s[pos++]);
            out.push_back(v);
        } else if (c >= '0' && c <= '7') {
            char16_t v = c - '0';
            for (int n = 1; n < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++n)
                v = v * 8 + (s[pos++] - '0');
            out.push_back(v);
        } else {
            out.push_back(static_cast<unsigned char>(c));
        }
    }
    return std::nullopt;
}

// Wine's escaping: non-ASCII as \x, control characters by letter or in octal,
// the backslash and the two given characters with a backslash.
std::string Escape(const std::u16string& s, char a, char b) {
    static constexpr char kEscapes[] = ".......abtnvfr.............e....";
    std::string out;
    char buffer[16];
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const char16_t next = i + 1 < s.size() ? s[i + 1] : 0;
        if (c > 127) {
            std::snprintf(buffer, sizeof buffer, (next < 128 && IsHexDigit(next)) ? "\\x%04x" : "\\x%x", unsigned(c));
            out += buffer;
        } else if (c < 32) {
            if (kEscapes[c] != '.') {
                out += '\\';
                out += kEscapes[c];
            } else {
                std::snprintf(buffer, sizeof buffer, (next >= '0' && next <= '7') ? "\\%03o" : "\\%o", unsigned(c));
                out += buffer;
            }
        } else {
            if (c == '\\' || c == a || c == b) out += '\\';
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::vector<std::uint8_t> TextData(const std::u16string& text) {
    std::string utf8 = Utf8(text);
    std::vector<std::uint8_t> bytes(utf8.begin(), utf8.end());
    bytes.push_back(0);
    return bytes;
}

bool IsTextType(std::int32_t type) {
    return type == REG_SZ_ || type == REG_EXPAND_SZ_ || type == REG_MULTI_SZ_;
}

// "hex:", "hex(N):", "str(N):" and "dword:" prefixes; "(N)" is hexadecimal.
bool TakePrefix(std::string_view s, std::size_t& pos, std::string_view word, std::int32_t* type) {
    if (s.compare(pos, word.size(), word) != 0) return false;
    std::size_t p = pos + word.size();
    if (type != nullptr && p < s.size() && s[p] == '(') {
        std::int32_t v = 0;
        for (++p; p < s.size() && HexValue(s[p]) >= 0; ++p) v = v * 16 + HexValue(s[p]);
        if (p >= s.size() || s[p] != ')') return false;
        ++p;
        *type = v;
    }
    if (p >= s.size() || s[p] != ':') return false;
    pos = p + 1;
    return true;
}

std::optional<RegistryData> ParseData(std::string_view s) {
    std::size_t pos = s.find_first_not_of(" \t");
    if (pos == std::string_view::npos) return std::nullopt;
    std::int32_t type = REG_SZ_;
    if (s[pos] == '"' || TakePrefix(s, pos, "str", &type)) {
        if (s[pos] != '"') return std::nullopt;
        ++pos;
        auto text = Unescape(s, pos, '"');
        if (!text) return std::nullopt;
        return RegistryData{type, TextData(*text)};
    }
    if (TakePrefix(s, pos, "dword", nullptr)) {
        std::uint32_t v = 0;
        int digits = 0;
        for (; pos < s.size() && HexValue(s[pos]) >= 0 && digits < 8; ++pos, ++digits) v = v * 16 + HexValue(s[pos]);
        if (digits == 0) return std::nullopt;
        return RegistryData{REG_DWORD_,
                            {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
    }
    type = REG_BINARY_;
    if (!TakePrefix(s, pos, "hex", &type)) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    while (pos < s.size()) {
        pos = s.find_first_not_of(" \t,", pos);
        if (pos == std::string_view::npos) break;
        if (pos + 1 >= s.size() || HexValue(s[pos]) < 0 || HexValue(s[pos + 1]) < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(HexValue(s[pos]) * 16 + HexValue(s[pos + 1])));
        pos += 2;
    }
    if (IsTextType(type) && bytes.size() % 2 == 0) {
        std::u16string units;
        for (std::size_t i = 0; i < bytes.size(); i += 2) units.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
        std::string utf8 = Utf8(units);
        bytes.assign(utf8.begin(), utf8.end());
    }
    return RegistryData{type, bytes};
}

// A value as Wine writes it, wrapping long hex data as it does.
std::string FormatValue(const std::string& name, const RegistryData& data, const std::string& eol) {
    std::string out = name.empty() ? std::string("@=") : "\"" + Escape(Utf16(name), '"', '"') + "\"=";
    const auto& b = data.bytes;
    char buffer[32];
    if (IsTextType(data.type) && !b.empty() && b.back() == 0) {
        if (data.type != REG_SZ_) {
            std::snprintf(buffer, sizeof buffer, "str(%x):", unsigned(data.type));
            out += buffer;
        }
        std::string text(b.begin(), b.end() - 1);
        return out + "\"" + Escape(Utf16(text), '"', '"') + "\"";
    }
    if (data.type == REG_DWORD_ && b.size() == 4) {
        std::snprintf(buffer, sizeof buffer, "dword:%08x",
                      unsigned(b[0] | b[1] << 8 | b[2] << 16 | unsigned(b[3]) << 24));
        return out + buffer;
    }
    std::vector<std::uint8_t> raw = b;
    if (IsTextType(data.type)) {
        raw.clear();
        for (char16_t u : Utf16(std::string(b.begin(), b.end())))
            raw.insert(raw.end(), {std::uint8_t(u), std::uint8_t(u >> 8)});
    }
    if (data.type == REG_BINARY_)
        out += "hex:";
    else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(data.type));
        out += buffer;
    }
    std::size_t count = out.size();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", raw[i]);
        out += buffer;
        count += 2;
        if (i + 1 < raw.size()) {
            out += ',';
            if (++count > 76) {
                out += "\\" + eol + "  ";
                count = 2;
            }
        }
    }
    return out;
}

std::vector<std::string> Components(const std::string& folded) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= folded.size()) {
        std::size_t cut = folded.find('\\', start);
        if (cut == std::string::npos) cut = folded.size();
        parts.push_back(folded.substr(start, cut - start));
        start = cut + 1;
    }
    return parts;
}

std::string TimeLine(WineFileTime now) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "#time=%x%08x", unsigned(now >> 32), unsigned(now & 0xFFFFFFFFu));
    return buffer;
}

std::string_view TrimLeft(std::string_view s) {
    std::size_t p = s.find_first_not_of(" \t");
    return p == std::string_view::npos ? std::string_view() : s.substr(p);
}

}  // namespace

WineFileTime WineFileTimeNow() {
    auto since1970 =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
    return kTicks1601To1970 + static_cast<WineFileTime>(since1970.count() / 100);
}

std::int64_t UnixSeconds(WineFileTime time) {
    return static_cast<std::int64_t>((time - kTicks1601To1970) / kTicksPerSecond);
}

std::string FoldRegistryPath(const std::string& path) {
    return UpperText(TrimRegistryPath(path));
}

std::string FoldRegistryName(std::string name) {
    return UpperText(std::move(name));
}

WineRegistryFile::WineRegistryFile(std::string text) : m_text(std::move(text)) {
    Index();
}

bool WineRegistryFile::IsWineRegistry() const {
    return !m_lines.empty() && LineText(0) == kWineRegistryHeader;
}

std::string_view WineRegistryFile::LineText(std::size_t line) const {
    const Line& l = m_lines[line];
    return std::string_view(m_text).substr(l.begin, l.end - l.begin);
}

void WineRegistryFile::Index() {
    m_lines.clear();
    m_sections.clear();
    for (std::size_t pos = 0; pos < m_text.size();) {
        std::size_t nl = m_text.find('\n', pos);
        std::size_t next = nl == std::string::npos ? m_text.size() : nl + 1;
        std::size_t end = nl == std::string::npos ? m_text.size() : nl;
        if (end > pos && m_text[end - 1] == '\r') --end;
        m_lines.push_back({pos, end, next});
        pos = next;
    }
    if (!m_lines.empty() && m_lines[0].next - m_lines[0].end == 2) m_eol = "\r\n";
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        std::string_view s = TrimLeft(LineText(i));
        if (s.empty()) continue;
        std::size_t pos = 1;
        if (s[0] != '[' && !m_sections.empty()) m_sections.back().lastContent = i;
        if (s[0] == '[') {
            if (auto path = Unescape(s, pos, ']')) {
                std::string name = Utf8(*path);
                m_sections.push_back({name, FoldRegistryPath(name), i, std::nullopt, {}, i});
            }
        } else if (m_sections.empty()) {
            continue;
        } else if (s.rfind("#time=", 0) == 0) {
            m_sections.back().time = i;
        } else if (s[0] == '"' || s[0] == '@') {
            std::optional<std::u16string> name = s[0] == '@' ? std::u16string() : Unescape(s, pos, '"');
            if (!name) continue;
            std::size_t last = i;
            // Long hex data goes on over lines ending in a backslash.
            auto continues = [this](std::size_t l) {
                std::string_view t = LineText(l);
                std::size_t e = t.find_last_not_of(" \t");
                return e != std::string_view::npos && t[e] == '\\';
            };
            while (continues(last) && last + 1 < m_lines.size()) ++last;
            m_sections.back().values.push_back({Utf8(*name), UpperText(Utf8(*name)), i, last});
            m_sections.back().lastContent = last;
            i = last;
        }
    }
}

const WineRegistryFile::Section* WineRegistryFile::FindSection(const std::string& folded) const {
    for (const Section& s : m_sections) {
        if (s.folded == folded) return &s;
    }
    return nullptr;
}

bool WineRegistryFile::HasKey(const std::string& path) const {
    const std::string folded = FoldRegistryPath(path);
    if (folded.empty()) return true;
    return std::any_of(m_sections.begin(), m_sections.end(),
                       [&](const Section& s) { return s.folded == folded || s.folded.rfind(folded + "\\", 0) == 0; });
}

std::optional<RegistryData> WineRegistryFile::Find(const std::string& path, const std::string& name) const {
    const Section* section = FindSection(FoldRegistryPath(path));
    if (section == nullptr) return std::nullopt;
    const std::string folded = UpperText(name);
    for (auto v = section->values.rbegin(); v != section->values.rend(); ++v) {
        if (v->folded != folded) continue;
        // The data: from after the name's "=" to the end, continuations joined.
        std::string data;
        for (std::size_t l = v->first; l <= v->last; ++l) {
            std::string_view t = TrimLeft(LineText(l));
            if (l == v->first) {
                std::size_t pos = 1;
                if (t[0] == '"') Unescape(t, pos, '"');
                t = TrimLeft(t.substr(std::min(pos, t.size())));
                if (t.empty() || t[0] != '=') return std::nullopt;
                t.remove_prefix(1);
            }
            if (l < v->last) t = t.substr(0, t.find_last_not_of(" \t"));  // drops the backslash
            data += t;
        }
        return ParseData(data);
    }
    return std::nullopt;
}

std::vector<std::string> WineRegistryFile::ValueNames(const std::string& path) const {
    std::vector<std::string> names;
    if (const Section* section = FindSection(FoldRegistryPath(path))) {
        for (const Value& v : section->values) {
            const bool again =
                std::any_of(names.begin(), names.end(), [&](const std::string& n) { return UpperText(n) == v.folded; });
            if (!again) names.push_back(v.name);
        }
    }
    return names;
}

std::vector<std::string> WineRegistryFile::SubKeyNames(const std::string& path) const {
    const std::string folded = FoldRegistryPath(path);
    const std::size_t lead = folded.empty() ? 0 : folded.size() + 1;
    std::vector<std::string> names;
    std::vector<std::string> seen;
    for (const Section& s : m_sections) {
        if (s.folded.size() <= lead || (lead > 0 && s.folded.compare(0, lead, folded + "\\") != 0)) continue;
        const std::string part = s.folded.substr(lead, s.folded.find('\\', lead) - lead);
        if (std::find(seen.begin(), seen.end(), part) != seen.end()) continue;
        seen.push_back(part);
        // The path as written has the folded form's shape, in its own case.
        names.push_back(TrimRegistryPath(s.path).substr(lead, part.size()));
    }
    return names;
}

std::size_t WineRegistryFile::NewSectionLine(const std::string& folded) const {
    const std::vector<std::string> key = Components(folded);
    for (const Section& s : m_sections) {
        if (Components(s.folded) > key) return s.header;
    }
    return m_lines.size();
}

void WineRegistryFile::Replace(std::size_t from, std::size_t to, const std::string& with) {
    m_text.replace(from, to - from, with);
    Index();
}

void WineRegistryFile::EnsureKey(const std::string& path, WineFileTime now) {
    const std::string folded = FoldRegistryPath(path);
    if (folded.empty() || FindSection(folded) != nullptr) return;
    const std::string trimmed = TrimRegistryPath(path);
    const std::string block = "[" + Escape(Utf16(trimmed), '[', ']') + "] " + std::to_string(UnixSeconds(now)) + m_eol +
                              TimeLine(now) + m_eol;
    const std::size_t line = NewSectionLine(folded);
    if (line < m_lines.size()) {
        // Before the next key's header; the blank line before it now leads in ours.
        Replace(m_lines[line].begin, m_lines[line].begin, block + m_eol);
    } else {
        const bool endsInEol = m_text.empty() || m_text.back() == '\n';
        Replace(m_text.size(), m_text.size(), (endsInEol ? "" : m_eol) + m_eol + block);
    }
}

void WineRegistryFile::Touch(const std::string& folded, WineFileTime now) {
    const Section* section = FindSection(folded);
    if (section == nullptr) return;
    if (section->time) {
        const Line& t = m_lines[*section->time];
        Replace(t.begin, t.end, TimeLine(now));
        section = FindSection(folded);
    }
    const Line& h = m_lines[section->header];
    std::string_view header = LineText(section->header);
    std::size_t pos = header.find('[') + 1;
    Unescape(header, pos, ']');
    Replace(h.begin + pos, h.end, " " + std::to_string(UnixSeconds(now)));
}

void WineRegistryFile::SetValue(const std::string& path, const std::string& name, const RegistryData& data,
                                WineFileTime now) {
    SetValues(path, {{name, data}}, now);
}

void WineRegistryFile::SetValues(const std::string& path,
                                 const std::vector<std::pair<std::string, RegistryData>>& values, WineFileTime now) {
    const std::string folded = FoldRegistryPath(path);
    EnsureKey(path, now);
    const Section* section = FindSection(folded);
    if (section == nullptr) return;  // the file's root holds no values of ours
    // The key's lines are edited on their own and put back in one piece: a
    // large file is gone through once, not once a value.
    const std::size_t from = m_lines[section->header].begin, to = m_lines[section->lastContent].next;
    WineRegistryFile key(m_text.substr(from, to - from));
    key.m_eol = m_eol;
    for (const auto& [name, data] : values) key.PutValue(name, data);
    key.Touch(folded, now);
    Replace(from, to, key.m_text);
}

void WineRegistryFile::PutValue(const std::string& name, const RegistryData& data) {
    const Section& section = m_sections.front();
    const std::string line = FormatValue(name, data, m_eol);
    const std::string foldedName = UpperText(name);
    auto v = std::find_if(section.values.rbegin(), section.values.rend(),
                          [&](const Value& value) { return value.folded == foldedName; });
    if (v != section.values.rend()) {
        Replace(m_lines[v->first].begin, m_lines[v->last].end, line);
    } else {
        const Line& after = m_lines[section.lastContent];
        if (after.next == after.end)
            Replace(after.end, after.end, m_eol + line);  // the file's last line had no end
        else
            Replace(after.next, after.next, line + m_eol);
    }
}

bool WineRegistryFile::DeleteValue(const std::string& path, const std::string& name, WineFileTime now) {
    const std::string folded = FoldRegistryPath(path);
    const std::string foldedName = UpperText(name);
    bool found = false;
    // Every line of the name goes (a file may hold it twice; the last one counts).
    for (const Section* section; (section = FindSection(folded)) != nullptr;) {
        auto v = std::find_if(section->values.begin(), section->values.end(),
                              [&](const Value& value) { return value.folded == foldedName; });
        if (v == section->values.end()) break;
        Replace(m_lines[v->first].begin, m_lines[v->last].next, "");
        found = true;
    }
    if (found) Touch(folded, now);
    return found;
}

bool WineRegistryFile::DeleteKey(const std::string& path, WineFileTime now) {
    const std::string folded = FoldRegistryPath(path);
    const Section* section = FindSection(folded);
    if (folded.empty() || section == nullptr || !SubKeyNames(path).empty()) return false;
    std::size_t from = m_lines[section->header].begin;
    const auto self = static_cast<std::size_t>(section - m_sections.data());
    std::size_t to = self + 1 < m_sections.size() ? m_lines[m_sections[self + 1].header].begin : m_text.size();
    // The last key takes the blank line before it along.
    if (to == m_text.size() && section->header > 0 && TrimLeft(LineText(section->header - 1)).empty())
        from = m_lines[section->header - 1].begin;
    Replace(from, to, "");
    // Its parent stays, as it would in the registry, though the file only implied it.
    const std::size_t cut = folded.rfind('\\');
    if (cut != std::string::npos && !HasKey(folded.substr(0, cut)))
        EnsureKey(TrimRegistryPath(path).substr(0, cut), now);
    return true;
}

}  // namespace kestro::base
