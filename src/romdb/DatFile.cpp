// SPDX-License-Identifier: GPL-3.0-or-later
// Logiqx XML through pugixml, the form detection, and the two writers.
#include "romdb/DatFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <pugixml.hpp>

#include "romdb/FileOps.h"

#if defined(__unix__)
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
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

namespace {

// Each byte's value as a hex digit, -1 for any other byte.
constexpr std::array<std::int8_t, 256> kHexValue = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) table['a' + i] = table['A' + i] = static_cast<std::int8_t>(10 + i);
    return table;
}();

}  // namespace

bool HexBytes(std::string_view text, std::uint8_t* out, std::size_t bytes) {
    if (text.empty() || text.size() > bytes * 2) return false;
    std::fill(out, out + bytes, std::uint8_t{0});
    // The digits a short hash leaves out are leading zeros.
    std::size_t digit = bytes * 2 - text.size();
    for (const char c : text) {
        const int value = kHexValue[static_cast<unsigned char>(c)];
        if (value < 0) return false;
        out[digit / 2] |= static_cast<std::uint8_t>(digit % 2 == 0 ? value << 4 : value);
        ++digit;
    }
    return true;
}

std::optional<std::string> RomField(DatRomRecord& rom, std::string_view romName, std::string_view key,
                                    std::string_view value) {
    if (key == "size") {
        std::int64_t size = -1;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), size);
        if (ec != std::errc() || end != value.data() + value.size() || size < 0) {
            return "the size \"" + std::string(value) + "\" of rom \"" + std::string(romName) + "\" is not a number";
        }
        rom.size = size;
        return std::nullopt;
    }
    std::array<std::uint8_t, 4> crc{};
    std::uint8_t* out = key == "crc" ? crc.data() : key == "md5" ? rom.md5.data() : rom.sha1.data();
    const std::size_t bytes = key == "crc" ? crc.size() : key == "md5" ? rom.md5.size() : rom.sha1.size();
    bool& has = key == "crc" ? rom.hasCrc : key == "md5" ? rom.hasMd5 : rom.hasSha1;
    if (key != "crc" && key != "md5" && key != "sha1") return std::nullopt;
    if (!HexBytes(value, out, bytes)) {
        return "the " + std::string(key) + " \"" + std::string(value) + "\" of rom \"" + std::string(romName) +
               "\" is not a hexadecimal hash";
    }
    if (key == "crc") rom.crc = (std::uint32_t{crc[0]} << 24) | (std::uint32_t{crc[1]} << 16) | (crc[2] << 8) | crc[3];
    has = true;
    return std::nullopt;
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

// Reads one rom element into the games; a malformed size or hash is a fault
// of its line. base is where the parsed buffer begins in the text, for the fault's line.
std::optional<std::string> ReadRom(const pugi::xml_node& node, std::string_view text, std::size_t base,
                                   DatGames& games) {
    // One pass over the attributes, each taken at its first listing, then
    // read in a fixed order, so that of two faults the same one is named.
    constexpr std::array<std::string_view, 5> kKeys{"name", "size", "crc", "md5", "sha1"};
    std::array<std::string_view, kKeys.size()> values{};
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        const std::string_view key = attribute.name();
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            if (key == kKeys[k] && values[k].data() == nullptr) values[k] = attribute.value();
        }
    }
    DatRomRecord rom;
    const std::string_view name = values[0];
    for (std::size_t k = 1; k < kKeys.size(); ++k) {
        if (values[k].empty()) continue;
        if (auto fault = RomField(rom, name, kKeys[k], values[k])) {
            const auto offset = base + static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug(), 0));
            return AtLine(LineOf(text, offset), *fault);
        }
    }
    rom.nameAt = games.Keep(name);
    rom.nameLength = static_cast<std::uint32_t>(name.size());
    games.AddRom(rom);
    return std::nullopt;
}

constexpr unsigned kXmlFlags = pugi::parse_cdata | pugi::parse_escapes;

// One game or machine element into the DAT; a rom's fault is named at its line.
std::optional<std::string> AddGame(const pugi::xml_node& node, std::string_view text, std::size_t base, DatFile& dat) {
    for (const pugi::xml_node& romNode : node.children("rom")) {
        if (auto fault = ReadRom(romNode, text, base, dat.games)) return fault;
    }
    dat.games.AddGame(Attribute(node, "name"), node.child_value("description"));
    return std::nullopt;
}

bool IsGame(const pugi::xml_node& node) {
    // MAME's DATs call their games machines.
    const std::string_view kind = node.name();
    return kind == "game" || kind == "machine";
}

}  // namespace

// A large DAT read a slice of games at a time into one reused document, so
// that the parsed elements of only one slice are ever held, whatever the
// DAT's size. The text is not changed: anything unexpected (an encoding other
// than UTF-8, a root that is not <datafile>, a slice that does not parse)
// returns nothing, and the whole document is read instead, which names a
// fault's line.
std::optional<DatRead> ParseLogiqxBySlices(std::string_view text, const std::function<void(std::size_t)>& done) {
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
    dat.games.ReserveForText(text.size());
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
        if (done) done(at);
    }
    if (dat.games.empty())
        return DatRead{std::nullopt, AtLine(LineOf(text, text.size()), "the DAT lists no game with a rom")};
    return DatRead{std::move(dat), {}};
}

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
    dat.games.ReserveForText(size);
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

#if defined(__unix__)
// A DAT's text mapped from its file rather than read into memory: the pages
// of the slices already read are let go, so that a large DAT is never held
// whole beside the games taken from it.
class MappedText {
public:
    MappedText(const std::string& path, std::size_t size) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || size == 0) {
            if (fd >= 0) ::close(fd);
            return;
        }
        void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (at == MAP_FAILED) return;
        m_data = static_cast<char*>(at);
        m_size = size;
        ::madvise(m_data, m_size, MADV_SEQUENTIAL);
    }
    ~MappedText() {
        if (m_data != nullptr) ::munmap(m_data, m_size);
    }
    MappedText(const MappedText&) = delete;
    MappedText& operator=(const MappedText&) = delete;

    std::string_view Text() const { return {m_data, m_size}; }
    /// Lets go of the pages before offset; read again from the file if wanted.
    void Release(std::size_t offset) {
        const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t end = offset / page * page;
        if (end <= m_released) return;
        ::madvise(m_data + m_released, end - m_released, MADV_DONTNEED);
        m_released = end;
    }

private:
    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_released = 0;
};

// The DAT read from its mapping, or nothing when it needs the whole text in
// memory (an XML file the slices cannot read, or no text at all).
std::optional<DatRead> ReadMapped(MappedText& mapped) {
    const std::string_view text = mapped.Text();
    if (text.empty()) return std::nullopt;
    const std::size_t start = text.find_first_not_of(" \t\r\n", text.starts_with("\xEF\xBB\xBF") ? 3 : 0);
    if (start == std::string_view::npos) return std::nullopt;
    if (text[start] != '<') return dat::ParseClrMamePro(text);
    return dat::ParseLogiqxBySlices(text, [&mapped](std::size_t done) { mapped.Release(done); });
}
#endif

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
#if defined(__unix__)
    MappedText mapped(path, size);
    if (std::optional<DatRead> read = ReadMapped(mapped)) {
        if (!*read) read->error = "The DAT file " + path + " cannot be used: " + read->error + ".";
        return std::move(*read);
    }
#endif
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

}  // namespace kestro::romdb
