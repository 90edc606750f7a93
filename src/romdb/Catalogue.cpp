// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/Catalogue.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <unordered_set>

#include "rom/KnownRomTable.h"

namespace kestro::romdb {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

std::uint64_t Key(std::int64_t size, std::uint32_t crc) {
    return (static_cast<std::uint64_t>(size) << 32) ^ (static_cast<std::uint64_t>(size) >> 32) ^ crc;
}

std::uint32_t CrcValue(const std::string& hex) {
    std::uint32_t value = 0;
    std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    return value;
}

std::string Upper(std::string text) {
    for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

}  // namespace

Catalogue::Catalogue() {
    for (const rom::KnownRom& row : rom::kKnownRomTable) m_names.emplace_back(row.name);
}

Catalogue::Catalogue(DatFile dat) : m_dat(std::move(dat)) {
    const std::vector<DatGame>& games = m_dat->games;
    // A game name listed twice is known by its first listing. An open-addressed
    // table of name indices finds repeats without a node per game.
    std::vector<std::uint32_t> slots(std::bit_ceil(games.size() * 2 + 2), kEmpty);
    const std::size_t mask = slots.size() - 1;
    m_names.reserve(games.size());
    m_games.reserve(games.size());
    m_nameOfGame.resize(games.size());
    for (std::size_t g = 0; g < games.size(); ++g) {
        const std::string_view name = games[g].name;
        std::size_t at = std::hash<std::string_view>{}(name)&mask;
        while (slots[at] != kEmpty && m_names[slots[at]] != name) at = (at + 1) & mask;
        if (slots[at] == kEmpty) {
            slots[at] = static_cast<std::uint32_t>(m_names.size());
            m_names.push_back(name);
            m_games.push_back(g);
        }
        m_nameOfGame[g] = slots[at];
    }
    m_needs.crc = true;
    m_bySizeAndCrc.reserve(games.size());
    for (std::size_t g = 0; g < games.size(); ++g) {
        for (std::size_t r = 0; r < games[g].roms.size(); ++r) {
            const DatRom& rom = games[g].roms[r];
            // A rom without size or CRC cannot be told by its bytes' CRC.
            if (rom.crc.empty() || rom.size < 0) continue;
            m_bySizeAndCrc.push_back(
                {Key(rom.size, CrcValue(rom.crc)), static_cast<std::uint32_t>(g), static_cast<std::uint32_t>(r)});
            if (!rom.sha1.empty()) {
                m_needs.sha1 = true;
            } else if (!rom.md5.empty()) {
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

std::optional<std::size_t> Catalogue::Match(std::int64_t size, const FileHashes& hashes, const DatRom** matched) const {
    if (IsBuiltIn() || !hashes.hasCrc) return std::nullopt;
    const std::uint64_t key = Key(size, hashes.crc);
    const auto first = std::lower_bound(m_bySizeAndCrc.begin(), m_bySizeAndCrc.end(), key,
                                        [](const RomRef& ref, std::uint64_t k) { return ref.key < k; });
    // The first game in DAT order whose rom these bytes are, all hashes agreeing.
    std::optional<std::uint32_t> best;
    const DatRom* bestRom = nullptr;
    for (auto it = first; it != m_bySizeAndCrc.end() && it->key == key; ++it) {
        const DatRom& rom = m_dat->games[it->game].roms[it->rom];
        if (rom.size != size || CrcValue(rom.crc) != hashes.crc) continue;
        if (!rom.sha1.empty() ? rom.sha1 != hashes.sha1 : (!rom.md5.empty() && rom.md5 != hashes.md5)) continue;
        if (!best || it->game < *best) best = it->game, bestRom = &rom;
    }
    if (!best) return std::nullopt;
    if (matched != nullptr) *matched = bestRom;
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
        const DatRom& rom = m_dat->games[it->game].roms[it->rom];
        if (rom.size == size && CrcValue(rom.crc) == crc && (!best || it->game < *best)) best = it->game;
    }
    if (!best) return std::nullopt;
    return m_nameOfGame[*best];
}

std::string Catalogue::MissingChecksum(std::size_t index) const {
    if (IsBuiltIn()) return rom::LookupRomChecksum(m_names[index], rom::ChecksumColumn::B);
    const DatGame& game = m_dat->games[m_games[index]];
    return Upper(game.roms.front().crc);
}

std::vector<DatGame> Catalogue::GamesNamed(const std::vector<std::string>& names) const {
    std::vector<DatGame> games;
    if (IsBuiltIn()) return games;
    std::unordered_set<std::string_view> wanted(names.begin(), names.end());
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (wanted.count(m_names[i]) != 0) games.push_back(m_dat->games[m_games[i]]);
    }
    return games;
}

std::vector<std::string> MissingNames(const Catalogue& catalogue, const std::vector<ReportFile>& files) {
    std::unordered_set<std::string_view> present;
    for (const ReportFile& f : files) present.insert(f.status);
    std::vector<std::string> missing;
    for (std::string_view name : catalogue.Names()) {
        if (present.count(name) == 0) missing.emplace_back(name);
    }
    return missing;
}

FileResult SaveMissingGames(FileOps& files, const std::string& path, const Catalogue& catalogue,
                            const std::vector<ReportFile>& reportFiles, bool csv) {
    const DatFile* dat = catalogue.Dat();
    if (dat == nullptr) return FileResult::Failed("The built-in table is no DAT file to list missing games from.");
    const std::vector<DatGame> missing = catalogue.GamesNamed(MissingNames(catalogue, reportFiles));
    const std::string text = csv ? WriteMissingCsv(missing)
                                 : WriteLogiqxDat(dat->name + " (missing)", dat->description + " (missing)", missing);
    return files.WriteFile(path, text);
}

}  // namespace kestro::romdb
