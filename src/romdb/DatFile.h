// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DAT files, the catalogues collectors verify their sets against: Logiqx XML
// and the older clrmamepro text form. Both read into the same DatFile; a
// file that is broken, cut short or of another kind gets a message naming
// its line, never a crash.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"

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

/// A rom as the games keep it: hashes as bytes, its name in their arena.
struct DatRomRecord {
    std::int64_t size = -1;
    std::uint32_t nameAt = 0, nameLength = 0;
    std::uint32_t crc = 0;
    std::array<std::uint8_t, 16> md5{};
    std::array<std::uint8_t, 20> sha1{};
    bool hasCrc = false, hasMd5 = false, hasSha1 = false;
};

class DatGames;

/// A game of DatGames as indexing gives it: its texts seen in place, each rom
/// made as a DatRom when asked for.
struct DatGameRef {
    std::string_view name;
    std::string_view description;
    struct Roms {
        const DatGames* games;
        std::size_t game;
        std::size_t size() const;
        DatRom operator[](std::size_t rom) const;
    } roms;
    /// Equal when the two games are listed alike, roms and hashes included.
    friend bool operator==(const DatGameRef& a, const DatGameRef& b);
};

/// The games of a DAT, kept compact: a million games of a large DAT take
/// little more than their names, which sit in one arena of characters.
/// Indexing and iterating give the games with their hashes as text.
class DatGames {
public:
    std::size_t size() const { return m_games.size(); }
    bool empty() const { return m_games.empty(); }
    DatGameRef operator[](std::size_t game) const { return {Name(game), Description(game), {this, game}}; }
    /// A game whole, as the DAT lists it.
    DatGame Game(std::size_t game) const;
    DatRom MakeRom(std::size_t game, std::size_t rom) const;
    void push_back(const DatGame& game);

    std::string_view Name(std::size_t game) const { return Text(m_games[game].nameAt, m_games[game].nameLength); }
    std::string_view Description(std::size_t game) const {
        return Text(m_games[game].descriptionAt, m_games[game].descriptionLength);
    }
    std::size_t RomCount(std::size_t game) const { return RomEnd(game) - m_games[game].firstRom; }
    const DatRomRecord& Rom(std::size_t game, std::size_t rom) const { return m_roms[m_games[game].firstRom + rom]; }
    std::string_view RomName(const DatRomRecord& rom) const { return Text(rom.nameAt, rom.nameLength); }

    /// Room for a DAT of this many bytes of text; room never used costs
    /// address space, not memory, and nothing is moved as the lists grow.
    void ReserveForText(std::size_t bytes);
    /// A text kept in the arena, where the rom and game names point.
    std::uint32_t Keep(std::string_view text);
    /// Roms are added first, then the game that holds them; a game without
    /// roms is no game, and its texts are dropped.
    void AddRom(const DatRomRecord& rom) { m_roms.push_back(rom); }
    void AddGame(std::string_view name, std::string_view description);

    class const_iterator {
    public:
        using value_type = DatGame;
        using difference_type = std::ptrdiff_t;
        const_iterator(const DatGames* games, std::size_t at) : m_games(games), m_at(at) {}
        DatGame operator*() const { return m_games->Game(m_at); }
        const_iterator& operator++() { return ++m_at, *this; }
        bool operator==(const const_iterator&) const = default;

    private:
        const DatGames* m_games;
        std::size_t m_at;
    };
    using iterator = const_iterator;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const DatGames& a, const DatGames& b);

private:
    struct GameRecord {
        std::uint32_t nameAt, nameLength, descriptionAt, descriptionLength, firstRom;
    };
    std::string_view Text(std::uint32_t at, std::uint32_t length) const { return {m_arena.data() + at, length}; }
    std::size_t RomEnd(std::size_t game) const {
        return game + 1 < m_games.size() ? m_games[game + 1].firstRom : m_pendingFrom;
    }

    std::vector<char> m_arena;
    std::vector<GameRecord> m_games;
    std::vector<DatRomRecord> m_roms;
    std::uint32_t m_pendingFrom = 0;  ///< the first rom of the game not yet added
};

inline std::size_t DatGameRef::Roms::size() const {
    return games->RomCount(game);
}
inline DatRom DatGameRef::Roms::operator[](std::size_t rom) const {
    return games->MakeRom(game, rom);
}
inline bool operator==(const DatGameRef& a, const DatGameRef& b) {
    return a.roms.games->Game(a.roms.game) == b.roms.games->Game(b.roms.game);
}

struct DatFile {
    enum class Format { Logiqx, ClrMamePro };
    Format format = Format::Logiqx;
    std::string name;         ///< the header's name
    std::string description;  ///< the header's description
    /// Games with at least one rom, in the DAT's order.
    DatGames games;
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

/// The games of these indices as a Logiqx DAT, headed by name and
/// description, each rom with the attributes the source DAT gave it; written
/// to the sink a piece at a time, so that a large list is never held whole.
int WriteLogiqxDat(const base::ContentSink& sink, std::string_view name, std::string_view description,
                   const DatGames& games, const std::vector<std::uint32_t>& which);
/// One CSV line per rom of these games: name (the game's), size, crc, sha1,
/// quoted where a field needs it; CR LF lines under a heading line.
int WriteMissingCsv(const base::ContentSink& sink, const DatGames& games, const std::vector<std::uint32_t>& which);
/// The same, of every game given, as one text.
std::string WriteLogiqxDat(std::string_view name, std::string_view description, const DatGames& games);
std::string WriteLogiqxDat(std::string_view name, std::string_view description, const std::vector<DatGame>& games);
std::string WriteMissingCsv(const std::vector<DatGame>& games);

namespace dat {
/// Either form, told apart by its first character; the XML is parsed in
/// place, so the text is changed.
DatRead ParseText(char* data, std::size_t size);
DatRead ParseLogiqx(char* data, std::size_t size);
/// A Logiqx DAT read a slice of games at a time, the text left unchanged;
/// done is told how far the text has been read. Nothing when the text needs
/// the whole-document reading (which names a fault's line).
std::optional<DatRead> ParseLogiqxBySlices(std::string_view text, const std::function<void(std::size_t)>& done = {});
DatRead ParseClrMamePro(std::string_view text);
/// A hash field's hex digits (either case, at most two per byte, the missing
/// leading ones taken as zero) into out; false when they are none of that.
bool HexBytes(std::string_view text, std::uint8_t* out, std::size_t bytes);
/// A rom's size or hash (by its attribute or key) into the record; other
/// keys are left alone. A fault of the value is given back as its message.
std::optional<std::string> RomField(DatRomRecord& rom, std::string_view romName, std::string_view key,
                                    std::string_view value);
/// "line N: what".
std::string AtLine(std::size_t line, const std::string& what);
/// The line of a byte offset, counting from 1.
std::size_t LineOf(std::string_view text, std::size_t offset);
}  // namespace dat

}  // namespace kestro::romdb
