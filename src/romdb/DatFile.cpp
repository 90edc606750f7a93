// SPDX-License-Identifier: GPL-3.0-or-later
// Logiqx XML through pugixml, the form detection, and the two writers.
#include "romdb/DatFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <pugixml.hpp>

#include "romdb/FileOps.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kestro::romdb {

namespace dat {

std::string AtLine(std::size_t line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

std::size_t LineOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 +
           static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

std::optional<std::string> HashField(std::string_view text, std::size_t digits) {
    if (text.empty() || text.size() > digits) return std::nullopt;
    std::string hex(digits, '0');
    char* out = hex.data() + (digits - text.size());
    for (char c : text) {
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
        *out++ = c;
    }
    return hex;
}

namespace {

// Why an XML text did not parse, saying so when the file stops before its
// DAT is closed, as a download cut short does.
std::string XmlProblem(const pugi::xml_parse_result& result, std::string_view text) {
    const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0));
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    const bool closed = last != std::string_view::npos && text.substr(0, last + 1).ends_with("</datafile>");
    std::string problem = std::string("not well-formed XML: ") + result.description();
    if (!closed && text.find("<datafile") != std::string_view::npos) {
        problem = "the file ends in the middle of the DAT, without </datafile> (was it cut short?)";
    }
    return AtLine(LineOf(text, offset), problem);
}

std::string_view Attribute(const pugi::xml_node& node, const char* name) {
    return node.attribute(name).value();
}

// Reads one rom element; a malformed size or hash is a fault of its line.
// base is where the parsed buffer begins in the text, for the fault's line.
std::optional<std::string> ReadRom(const pugi::xml_node& node, std::string_view text, std::size_t base, DatRom& rom) {
    rom.name = Attribute(node, "name");
    auto fault = [&](const std::string& what) {
        const auto offset = base + static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug(), 0));
        return AtLine(LineOf(text, offset), what);
    };
    const std::string_view size = Attribute(node, "size");
    if (!size.empty()) {
        std::int64_t value = -1;
        const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), value);
        if (ec != std::errc() || end != size.data() + size.size() || value < 0)
            return fault("the size \"" + std::string(size) + "\" of rom \"" + rom.name + "\" is not a number");
        rom.size = value;
    }
    struct Hash {
        const char* attribute;
        std::size_t digits;
        std::string* field;
    };
    for (const Hash& h : {Hash{"crc", 8, &rom.crc}, Hash{"md5", 32, &rom.md5}, Hash{"sha1", 40, &rom.sha1}}) {
        const std::string_view value = Attribute(node, h.attribute);
        if (value.empty()) continue;
        auto hex = HashField(value, h.digits);
        if (!hex) {
            return fault(std::string("the ") + h.attribute + " \"" + std::string(value) + "\" of rom \"" + rom.name +
                         "\" is not a hexadecimal hash");
        }
        *h.field = std::move(*hex);
    }
    return std::nullopt;
}

constexpr unsigned kXmlFlags = pugi::parse_cdata | pugi::parse_escapes;

// One game or machine element into the DAT; a rom's fault is named at its line.
std::optional<std::string> AddGame(const pugi::xml_node& node, std::string_view text, std::size_t base, DatFile& dat) {
    DatGame game;
    game.name = Attribute(node, "name");
    game.description = node.child_value("description");
    for (const pugi::xml_node& romNode : node.children("rom")) {
        DatRom rom;
        if (auto fault = ReadRom(romNode, text, base, rom)) return fault;
        game.roms.push_back(std::move(rom));
    }
    if (!game.roms.empty()) dat.games.push_back(std::move(game));
    return std::nullopt;
}

bool IsGame(const pugi::xml_node& node) {
    // MAME's DATs call their games machines.
    const std::string_view kind = node.name();
    return kind == "game" || kind == "machine";
}

// A large DAT read a slice of games at a time into one reused document, so
// that the parsed elements of only one slice are ever held, whatever the
// DAT's size. The text is not changed: anything unexpected (an encoding other
// than UTF-8, a root that is not <datafile>, a slice that does not parse)
// returns nothing, and the whole document is read instead, which names a
// fault's line.
std::optional<DatRead> ParseLogiqxBySlices(std::string_view text) {
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    constexpr std::string_view kClose = "</datafile>";
    const std::size_t open = text.find("<datafile");
    const std::size_t close = text.rfind(kClose);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return std::nullopt;
    if (text.find_first_not_of(" \t\r\n", close + kClose.size()) != std::string_view::npos) return std::nullopt;
    const std::size_t body = text.find('>', open);
    if (body == std::string_view::npos || body > close || text[body - 1] == '/') return std::nullopt;
    // The prolog and the root's start tag must make a document of their own, in UTF-8.
    std::string head(text.substr(0, body + 1));
    const std::size_t encoding = head.find("encoding=");
    if (encoding != std::string::npos && head.compare(encoding + 10, 5, "UTF-8") != 0 &&
        head.compare(encoding + 10, 5, "utf-8") != 0) {
        return std::nullopt;
    }
    head += kClose;
    pugi::xml_document document;
    if (!document.load_buffer(head.data(), head.size(), kXmlFlags, pugi::encoding_utf8) ||
        std::string_view(document.document_element().name()) != "datafile") {
        return std::nullopt;
    }
    DatFile dat;
    dat.format = DatFile::Format::Logiqx;
    // No game takes fewer bytes than this; room reserved and never used costs
    // address space, not memory, and the list is never moved as it grows.
    dat.games.reserve(text.size() / 96);
    for (std::size_t at = body + 1; at < close;) {
        std::size_t end = close;
        if (close - at > kSlice) {
            // Cut just after a game's end tag; games never nest.
            std::size_t cut = text.find("</", at + kSlice);
            for (; cut < close; cut = text.find("</", cut + 2)) {
                const std::string_view tag = text.substr(cut);
                if (tag.starts_with("</game>")) {
                    cut += 7;
                    break;
                }
                if (tag.starts_with("</machine>")) {
                    cut += 10;
                    break;
                }
            }
            if (cut < close) end = cut;
        }
        if (!document.load_buffer(text.data() + at, end - at, kXmlFlags | pugi::parse_fragment, pugi::encoding_utf8)) {
            return std::nullopt;
        }
        for (const pugi::xml_node& node : document.children()) {
            if (std::string_view(node.name()) == "header") {
                dat.name = node.child_value("name");
                dat.description = node.child_value("description");
            } else if (IsGame(node)) {
                if (auto fault = AddGame(node, text, at, dat)) return DatRead{std::nullopt, *fault};
            }
        }
        at = end;
    }
    if (dat.games.empty())
        return DatRead{std::nullopt, AtLine(LineOf(text, text.size()), "the DAT lists no game with a rom")};
    return DatRead{std::move(dat), {}};
}

}  // namespace

DatRead ParseLogiqx(char* data, std::size_t size) {
    const std::string_view text(data, size);
    if (std::optional<DatRead> read = ParseLogiqxBySlices(text)) return std::move(*read);
    pugi::xml_document document;
    // Parsed in place: a 100 MB DAT is not copied again. The parser only ever
    // overwrites bytes inside a tag or a text, so line breaks stay where they
    // were and a fault's line can still be counted afterwards.
    const pugi::xml_parse_result result = document.load_buffer_inplace(data, size, kXmlFlags, pugi::encoding_auto);
    if (!result) return {std::nullopt, XmlProblem(result, text)};
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "datafile") {
        const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(root.offset_debug(), 0));
        return {std::nullopt, AtLine(LineOf(text, offset), std::string("this XML file is no DAT file: it holds <") +
                                                               root.name() + ">, not <datafile>")};
    }
    DatFile dat;
    dat.format = DatFile::Format::Logiqx;
    const pugi::xml_node header = root.child("header");
    dat.name = header.child_value("name");
    dat.description = header.child_value("description");
    std::size_t children = 0;
    for (auto node = root.first_child(); node; node = node.next_sibling()) ++children;
    dat.games.reserve(children);
    for (const pugi::xml_node& node : root.children()) {
        if (!IsGame(node)) continue;
        if (auto fault = AddGame(node, text, 0, dat)) return {std::nullopt, *fault};
    }
    if (dat.games.empty()) return {std::nullopt, AtLine(LineOf(text, text.size()), "the DAT lists no game with a rom")};
    return {std::move(dat), {}};
}

DatRead ParseText(char* data, std::size_t size) {
    const std::string_view text(data, size);
    // A UTF-8 byte order mark is no part of either form.
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    start = text.find_first_not_of(" \t\r\n", start);
    if (start == std::string_view::npos) return {std::nullopt, "the file is empty"};
    if (text[start] == '<') return ParseLogiqx(data, size);
    return ParseClrMamePro(text);
}

}  // namespace dat

DatRead ParseDat(std::string text) {
    return dat::ParseText(text.data(), text.size());
}

namespace {

// The text of a DAT file: not zero-filled first, and on the large pages the
// system offers for the asking, so that 100 MB is not taken a 4 KiB page fault
// at a time.
class TextBuffer {
public:
    explicit TextBuffer(std::size_t size) {
        constexpr std::size_t kLargePage = std::size_t{2} << 20;
        const std::size_t capacity = (size / kLargePage + 1) * kLargePage;
#if defined(_WIN32)
        m_data = static_cast<char*>(std::malloc(capacity));
#else
        m_data = static_cast<char*>(std::aligned_alloc(kLargePage, capacity));
#endif
#if defined(__linux__)
        if (m_data != nullptr) ::madvise(m_data, capacity, MADV_HUGEPAGE);
#endif
    }
    ~TextBuffer() {
        std::free(m_data);
    }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    char* data() const {
        return m_data;
    }

private:
    char* m_data = nullptr;
};

}  // namespace

DatRead ReadDatFile(const std::string& path) {
    DiskFileOps disk;
    std::string error;
    auto input = disk.OpenRead(path, error);
    if (!input) return {std::nullopt, "Cannot read the DAT file: " + error};
    // A DAT of every set ever dumped stays far below this.
    constexpr std::int64_t kLargestDat = std::int64_t{1} << 30;
    if (input->Size() > kLargestDat) return {std::nullopt, "The DAT file " + path + " is larger than 1 GiB."};
    // Read straight into the text the parser works in, so that a large DAT is held once.
    const auto size = static_cast<std::size_t>(input->Size());
    TextBuffer text(size);
    if (text.data() == nullptr) return {std::nullopt, "The DAT file " + path + " does not fit in memory."};
    std::size_t have = 0;
    while (have < size) {
        const std::ptrdiff_t n = input->Read(reinterpret_cast<std::uint8_t*>(text.data()) + have, size - have);
        if (n < 0) return {std::nullopt, "Cannot read the DAT file " + path + ": " + input->Error()};
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    DatRead parsed = dat::ParseText(text.data(), have);
    if (!parsed) parsed.error = "The DAT file " + path + " cannot be used: " + parsed.error + ".";
    return parsed;
}

namespace {

std::string XmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

void XmlAttribute(std::string& out, const char* name, std::string_view value) {
    if (value.empty()) return;
    out += ' ';
    out += name;
    out += "=\"";
    out += XmlEscaped(value);
    out += '"';
}

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string SizeText(std::int64_t size) {
    return size < 0 ? std::string() : std::to_string(size);
}

}  // namespace

std::string WriteLogiqxDat(std::string_view name, std::string_view description, const std::vector<DatGame>& games) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datafile>\n\t<header>\n";
    out += "\t\t<name>" + XmlEscaped(name) + "</name>\n";
    out += "\t\t<description>" + XmlEscaped(description) + "</description>\n\t</header>\n";
    for (const DatGame& game : games) {
        out += "\t<game";
        XmlAttribute(out, "name", game.name);
        out += ">\n\t\t<description>" + XmlEscaped(game.description) + "</description>\n";
        for (const DatRom& rom : game.roms) {
            out += "\t\t<rom";
            XmlAttribute(out, "name", rom.name);
            XmlAttribute(out, "size", SizeText(rom.size));
            XmlAttribute(out, "crc", rom.crc);
            XmlAttribute(out, "md5", rom.md5);
            XmlAttribute(out, "sha1", rom.sha1);
            out += "/>\n";
        }
        out += "\t</game>\n";
    }
    return out + "</datafile>\n";
}

std::string WriteMissingCsv(const std::vector<DatGame>& games) {
    std::string out = "name,size,crc,sha1\r\n";
    for (const DatGame& game : games) {
        for (const DatRom& rom : game.roms) {
            out += CsvField(game.name) + "," + SizeText(rom.size) + "," + rom.crc + "," + rom.sha1 + "\r\n";
        }
    }
    return out;
}

}  // namespace kestro::romdb
