// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/Catalogue.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <unordered_set>

#include "rom/KnownRomTable.h"

namespace kestro::romdb {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

std::uint64_t Key(std::int64_t size, std::uint32_t crc) {
    return (static_cast<std::uint64_t>(size) << 32) ^ (static_cast<std::uint64_t>(size) >> 32) ^ crc;
}

// Whether a file's hash (hex, as the hashing gives it) is the DAT's (bytes).
template <std::size_t N>
bool SameHash(const std::string& hex, const std::array<std::uint8_t, N>& bytes) {
    std::array<std::uint8_t, N> file{};
    return hex.size() == 2 * N && dat::HexBytes(hex, file.data(), N) && file == bytes;
}

// The rom's hashes agree with the file's: size and CRC32, and the SHA-1 or,
// without one, the MD5 when the DAT gives it.
bool Agrees(const DatRomRecord& rom, std::int64_t size, std::uint32_t crc, const FileHashes* hashes) {
    if (rom.size != size || rom.crc != crc) return false;
    if (hashes == nullptr) return true;
    if (rom.hasSha1) return SameHash(hashes->sha1, rom.sha1);
    return !rom.hasMd5 || SameHash(hashes->md5, rom.md5);
}

}  // namespace

Catalogue::Catalogue() {
    for (const rom::KnownRom& row : rom::kKnownRomTable) m_names.emplace_back(row.name);
    for (std::string_view name : m_names) m_classes.push_back(ClassOf(name));
}

Catalogue::Catalogue(DatFile dat) : m_dat(std::move(dat)) {
    const DatGames& games = m_dat->games;
    // A game name listed twice is known by its first listing. An open-addressed
    // table of name indices finds repeats without a node per game.
    std::vector<std::uint32_t> slots(std::bit_ceil(games.size() * 2 + 2), kEmpty);
    const std::size_t mask = slots.size() - 1;
    m_names.reserve(games.size());
    m_games.reserve(games.size());
    m_nameOfGame.resize(games.size());
    for (std::size_t g = 0; g < games.size(); ++g) {
        const std::string_view name = games.Name(g);
        std::size_t at = std::hash<std::string_view>{}(name)&mask;
        while (slots[at] != kEmpty && m_names[slots[at]] != name) at = (at + 1) & mask;
        if (slots[at] == kEmpty) {
            slots[at] = static_cast<std::uint32_t>(m_names.size());
            m_names.push_back(name);
            m_classes.push_back(ClassOf(name));
            m_games.push_back(static_cast<std::uint32_t>(g));
        }
        m_nameOfGame[g] = slots[at];
    }
    m_needs.crc = true;
    m_bySizeAndCrc.reserve(games.size());
    for (std::size_t g = 0; g < games.size(); ++g) {
        for (std::size_t r = 0; r < games.RomCount(g); ++r) {
            const DatRomRecord& rom = games.Rom(g, r);
            // A rom without size or CRC cannot be told by its bytes' CRC.
            if (!rom.hasCrc || rom.size < 0) continue;
            m_bySizeAndCrc.push_back(
                {Key(rom.size, rom.crc), static_cast<std::uint32_t>(g), static_cast<std::uint32_t>(r)});
            if (rom.hasSha1) {
                m_needs.sha1 = true;
            } else if (rom.hasMd5) {
                m_needs.md5 = true;
            }
        }
    }
    std::sort(m_bySizeAndCrc.begin(), m_bySizeAndCrc.end(),
              [](const RomRef& a, const RomRef& b) { return a.key < b.key; });
}

std::string Catalogue::Description() const {
    if (IsBuiltIn()) return "Built-in table (38 known dumps)";
    const std::string name = m_dat->name.empty() ? m_dat->description : m_dat->name;
    return name + " (" + std::to_string(m_names.size()) + (m_names.size() == 1 ? " game)" : " games)");
}

std::optional<std::size_t> Catalogue::Match(std::int64_t size, const FileHashes& hashes,
                                            std::string_view* romName) const {
    if (IsBuiltIn() || !hashes.hasCrc) return std::nullopt;
    const std::uint64_t key = Key(size, hashes.crc);
    const auto first = std::lower_bound(m_bySizeAndCrc.begin(), m_bySizeAndCrc.end(), key,
                                        [](const RomRef& ref, std::uint64_t k) { return ref.key < k; });
    // The first game in DAT order whose rom these bytes are, all hashes agreeing.
    std::optional<std::uint32_t> best;
    const DatRomRecord* bestRom = nullptr;
    for (auto it = first; it != m_bySizeAndCrc.end() && it->key == key; ++it) {
        const DatRomRecord& rom = m_dat->games.Rom(it->game, it->rom);
        if (!Agrees(rom, size, hashes.crc, &hashes)) continue;
        if (!best || it->game < *best) best = it->game, bestRom = &rom;
    }
    if (!best) return std::nullopt;
    if (romName != nullptr) *romName = m_dat->games.RomName(*bestRom);
    // A game listed twice is known by its first listing's name.
    return m_nameOfGame[*best];
}

std::optional<std::size_t> Catalogue::MatchCrc(std::int64_t size, std::uint32_t crc) const {
    if (IsBuiltIn()) return std::nullopt;
    const std::uint64_t key = Key(size, crc);
    auto it = std::lower_bound(m_bySizeAndCrc.begin(), m_bySizeAndCrc.end(), key,
                               [](const RomRef& ref, std::uint64_t k) { return ref.key < k; });
    std::optional<std::uint32_t> best;
    for (; it != m_bySizeAndCrc.end() && it->key == key; ++it) {
        if (Agrees(m_dat->games.Rom(it->game, it->rom), size, crc, nullptr) && (!best || it->game < *best))
            best = it->game;
    }
    if (!best) return std::nullopt;
    return m_nameOfGame[*best];
}

std::string Catalogue::MissingChecksum(std::size_t index) const {
    if (IsBuiltIn()) return rom::LookupRomChecksum(m_names[index], rom::ChecksumColumn::B);
    const DatRomRecord& rom = m_dat->games.Rom(m_games[index], 0);
    if (!rom.hasCrc) return {};
    std::array<char, 9> text{};
    std::snprintf(text.data(), text.size(), "%08X", rom.crc);
    return text.data();
}

std::vector<std::uint32_t> Catalogue::MissingGames(const std::vector<ReportFile>& files) const {
    std::unordered_set<std::string_view> present;
    for (const ReportFile& f : files) present.insert(f.status);
    std::vector<std::uint32_t> missing;
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (present.count(m_names[i]) == 0) missing.push_back(m_games[i]);
    }
    return missing;
}

FileResult SaveMissingGames(FileOps& files, const std::string& path, const Catalogue& catalogue,
                            const std::vector<ReportFile>& reportFiles, bool csv) {
    const DatFile* dat = catalogue.Dat();
    if (dat == nullptr) return FileResult::Failed("The built-in table is no DAT file to list missing games from.");
    const std::vector<std::uint32_t> missing = catalogue.MissingGames(reportFiles);
    return files.WriteFileFrom(path, [&](const base::ContentSink& sink) {
        return csv ? WriteMissingCsv(sink, dat->games, missing)
                   : WriteLogiqxDat(sink, dat->name + " (missing)", dat->description + " (missing)", dat->games,
                                    missing);
    });
}

}  // namespace kestro::romdb
