// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the collection identifies against: the built-in table of 38 known
// dumps, or a DAT file. The run, the reports, the summaries and the rename
// all take their names from the catalogue in use.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "romdb/ContentHash.h"
#include "romdb/DatFile.h"
#include "romdb/FileOps.h"
#include "romdb/Reports.h"

namespace kestro::romdb {

class Catalogue {
public:
    /// The built-in table.
    Catalogue();
    // The names point into the DAT held here: a catalogue is shared, never copied.
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;
    /// A DAT's games; a game name listed twice counts once.
    explicit Catalogue(DatFile dat);

    bool IsBuiltIn() const { return !m_dat.has_value(); }
    const DatFile* Dat() const { return m_dat ? &*m_dat : nullptr; }

    /// The names the reports list, in catalogue order (views of the table's
    /// or the DAT's own texts, which live as long as the catalogue).
    const std::vector<std::string_view>& Names() const { return m_names; }
    /// "Built-in table (38 known dumps)", or the DAT's name and game count.
    std::string Description() const;

    /// The hashes a file must be given to be matched (none for the table).
    const HashNeeds& Needs() const { return m_needs; }
    /// The section each name is listed in, worked out once per name.
    RomClass ClassOfName(std::size_t index) const { return m_classes[index]; }

    /// The game whose rom these bytes are: size and CRC32 equal, and the
    /// SHA-1 (or, without one, the MD5) equal when the DAT gives it. With
    /// romName given, it is set to the name of the rom that matched.
    std::optional<std::size_t> Match(std::int64_t size, const FileHashes& hashes,
                                     std::string_view* romName = nullptr) const;
    /// The first game with a rom of this size and CRC32, whatever its other
    /// hashes: all a patch knows of the file it wants.
    std::optional<std::size_t> MatchCrc(std::int64_t size, std::uint32_t crc) const;
    /// The text before a name in the detailed missing list: the whole-file
    /// checksum for the table, the first rom's CRC32 (upper case) for a DAT.
    std::string MissingChecksum(std::size_t index) const;
    /// The games (indices in the DAT) of the names no file carries as its
    /// status, in catalogue order.
    std::vector<std::uint32_t> MissingGames(const std::vector<ReportFile>& files) const;

private:
    std::optional<DatFile> m_dat;
    std::vector<std::string_view> m_names;
    std::vector<RomClass> m_classes;
    /// Per name, its game in the DAT; per game, its name.
    std::vector<std::uint32_t> m_games;
    std::vector<std::uint32_t> m_nameOfGame;
    HashNeeds m_needs;
    /// Every rom with a size and CRC, sorted by the two, for a binary search.
    struct RomRef {
        std::uint64_t key;
        std::uint32_t game;
        std::uint32_t rom;
    };
    std::vector<RomRef> m_bySizeAndCrc;
};

/// The missing games of a DAT catalogue written to path, replacing any file
/// there as one step: a Logiqx DAT, or with csv a CSV of name, size, crc, sha1.
FileResult SaveMissingGames(FileOps& files, const std::string& path, const Catalogue& catalogue,
                            const std::vector<ReportFile>& reportFiles, bool csv);

}  // namespace kestro::romdb
