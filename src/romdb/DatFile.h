// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DAT files, the catalogues collectors verify their sets against: Logiqx XML
// and the older clrmamepro text form. Both read into the same DatFile; a
// file that is broken, cut short or of another kind gets a message naming
// its line, never a crash.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::romdb {

/// One file of a game as the DAT lists it. Hashes are lower-case hex, empty
/// when the DAT gives none; size is -1 when it gives none.
struct DatRom {
    std::string name;
    std::int64_t size = -1;
    std::string crc;
    std::string md5;
    std::string sha1;
    friend bool operator==(const DatRom&, const DatRom&) = default;
};

struct DatGame {
    std::string name;
    std::string description;
    std::vector<DatRom> roms;
    friend bool operator==(const DatGame&, const DatGame&) = default;
};

struct DatFile {
    enum class Format { Logiqx, ClrMamePro };
    Format format = Format::Logiqx;
    std::string name;         ///< the header's name
    std::string description;  ///< the header's description
    /// Games with at least one rom, in the DAT's order.
    std::vector<DatGame> games;
};

/// A DAT read, or why not: "line 12: ..." for a fault in the text.
struct DatRead {
    std::optional<DatFile> dat;
    std::string error;
    explicit operator bool() const { return dat.has_value(); }
};

/// Reads either form, told apart by the first character that is not blank.
DatRead ParseDat(std::string text);
/// The file at path, through ParseDat; errors name the file.
DatRead ReadDatFile(const std::string& path);

/// The games as a Logiqx DAT, headed by name and description, each rom with
/// the attributes the source DAT gave it.
std::string WriteLogiqxDat(std::string_view name, std::string_view description, const std::vector<DatGame>& games);
/// One CSV line per rom: name (the game's), size, crc, sha1, quoted where a
/// field needs it; CR LF lines under a heading line.
std::string WriteMissingCsv(const std::vector<DatGame>& games);

namespace dat {
/// Either form, told apart by its first character; the XML is parsed in
/// place, so the text is changed.
DatRead ParseText(char* data, std::size_t size);
DatRead ParseLogiqx(char* data, std::size_t size);
DatRead ParseClrMamePro(std::string_view text);
/// A hash field as kept: lower-case hex of the given length, or nothing.
std::optional<std::string> HashField(std::string_view text, std::size_t digits);
/// "line N: what".
std::string AtLine(std::size_t line, const std::string& what);
/// The line of a byte offset, counting from 1.
std::size_t LineOf(std::string_view text, std::size_t offset);
}  // namespace dat

}  // namespace kestro::romdb
