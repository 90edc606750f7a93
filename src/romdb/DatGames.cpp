// SPDX-License-Identifier: GPL-3.0-or-later
// The compact store of a DAT's games, and the two writers of missing games.
#include <cstring>

#include "romdb/ContentHash.h"
#include "romdb/DatFile.h"

namespace kestro::romdb {

namespace {

// A rom's hashes as text, in the order the writers give them.
struct HashTexts {
    std::string crc, md5, sha1;
};

HashTexts HexOf(const DatRomRecord& rom) {
    HashTexts hex;
    if (rom.hasCrc) hex.crc = CrcText(rom.crc);
    if (rom.hasMd5) hex.md5 = HashText(rom.md5.data(), rom.md5.size());
    if (rom.hasSha1) hex.sha1 = HashText(rom.sha1.data(), rom.sha1.size());
    return hex;
}

}  // namespace

DatRom DatGames::MakeRom(std::size_t game, std::size_t rom) const {
    const DatRomRecord& record = Rom(game, rom);
    HashTexts hex = HexOf(record);
    return {std::string(RomName(record)), record.size, std::move(hex.crc), std::move(hex.md5), std::move(hex.sha1)};
}

DatGame DatGames::Game(std::size_t game) const {
    DatGame out{std::string(Name(game)), std::string(Description(game)), {}};
    out.roms.reserve(RomCount(game));
    for (std::size_t r = 0; r < RomCount(game); ++r) out.roms.push_back(MakeRom(game, r));
    return out;
}

void DatGames::push_back(const DatGame& game) {
    for (const DatRom& rom : game.roms) {
        DatRomRecord record;
        for (const auto& [key, value] : {std::pair{"crc", &rom.crc}, {"md5", &rom.md5}, {"sha1", &rom.sha1}}) {
            // A hash that is no hash is left out, as the DAT writer would leave out an empty one.
            if (!value->empty()) dat::RomField(record, rom.name, key, *value);
        }
        record.size = rom.size;
        record.nameAt = Keep(rom.name);
        record.nameLength = static_cast<std::uint32_t>(rom.name.size());
        AddRom(record);
    }
    AddGame(game.name, game.description);
}

void DatGames::ReserveForText(std::size_t bytes) {
    // Decoded texts never outgrow the DAT's text, and no game with a rom
    // takes fewer than about 64 bytes of it.
    m_arena.reserve(m_arena.size() + bytes);
    m_games.reserve(m_games.size() + bytes / 64);
    m_roms.reserve(m_roms.size() + bytes / 64);
}

std::uint32_t DatGames::Keep(std::string_view text) {
    const auto at = static_cast<std::uint32_t>(m_arena.size());
    m_arena.insert(m_arena.end(), text.begin(), text.end());
    return at;
}

void DatGames::AddGame(std::string_view name, std::string_view description) {
    if (m_roms.size() == m_pendingFrom) return;
    GameRecord game{};
    game.nameAt = Keep(name);
    game.nameLength = static_cast<std::uint32_t>(name.size());
    // Most DATs describe a game by its name: the text is kept once.
    game.descriptionAt = description == name ? game.nameAt : Keep(description);
    game.descriptionLength = static_cast<std::uint32_t>(description.size());
    game.firstRom = m_pendingFrom;
    m_games.push_back(game);
    m_pendingFrom = static_cast<std::uint32_t>(m_roms.size());
}

bool operator==(const DatGames& a, const DatGames& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t g = 0; g < a.size(); ++g) {
        if (a.Game(g) != b.Game(g)) return false;
    }
    return true;
}

namespace {

// Text gathered a piece at a time and handed on when enough has gathered.
class PieceWriter {
public:
    explicit PieceWriter(const base::ContentSink& sink) : m_sink(sink) { text.reserve(kPiece + 4096); }
    std::string text;
    void Pass(bool last = false) {
        if (m_error == 0 && (last || text.size() >= kPiece)) {
            m_error = m_sink(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
            text.clear();
        }
    }
    int Finish() {
        Pass(true);
        return m_error;
    }

private:
    static constexpr std::size_t kPiece = 1 << 20;
    const base::ContentSink& m_sink;
    int m_error = 0;
};

void AppendXmlEscaped(std::string& out, std::string_view text) {
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
}

void XmlAttribute(std::string& out, const char* name, std::string_view value) {
    if (value.empty()) return;
    out += ' ';
    out += name;
    out += "=\"";
    AppendXmlEscaped(out, value);
    out += '"';
}

void AppendCsvField(std::string& out, std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string SizeText(std::int64_t size) {
    return size < 0 ? std::string() : std::to_string(size);
}

std::vector<std::uint32_t> Every(const DatGames& games) {
    std::vector<std::uint32_t> which(games.size());
    for (std::size_t g = 0; g < which.size(); ++g) which[g] = static_cast<std::uint32_t>(g);
    return which;
}

DatGames Stored(const std::vector<DatGame>& games) {
    DatGames stored;
    for (const DatGame& game : games) stored.push_back(game);
    return stored;
}

base::ContentSink Into(std::string& text) {
    return [&text](const std::uint8_t* data, std::size_t size) {
        text.append(reinterpret_cast<const char*>(data), size);
        return 0;
    };
}

}  // namespace

int WriteLogiqxDat(const base::ContentSink& sink, std::string_view name, std::string_view description,
                   const DatGames& games, const std::vector<std::uint32_t>& which) {
    PieceWriter out(sink);
    std::string& text = out.text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datafile>\n\t<header>\n\t\t<name>";
    AppendXmlEscaped(text, name);
    text += "</name>\n\t\t<description>";
    AppendXmlEscaped(text, description);
    text += "</description>\n\t</header>\n";
    for (const std::uint32_t g : which) {
        text += "\t<game";
        XmlAttribute(text, "name", games.Name(g));
        text += ">\n\t\t<description>";
        AppendXmlEscaped(text, games.Description(g));
        text += "</description>\n";
        for (std::size_t r = 0; r < games.RomCount(g); ++r) {
            const DatRomRecord& rom = games.Rom(g, r);
            const HashTexts hex = HexOf(rom);
            text += "\t\t<rom";
            XmlAttribute(text, "name", games.RomName(rom));
            XmlAttribute(text, "size", SizeText(rom.size));
            XmlAttribute(text, "crc", hex.crc);
            XmlAttribute(text, "md5", hex.md5);
            XmlAttribute(text, "sha1", hex.sha1);
            text += "/>\n";
        }
        text += "\t</game>\n";
        out.Pass();
    }
    text += "</datafile>\n";
    return out.Finish();
}

int WriteMissingCsv(const base::ContentSink& sink, const DatGames& games, const std::vector<std::uint32_t>& which) {
    PieceWriter out(sink);
    std::string& text = out.text;
    text += "name,size,crc,sha1\r\n";
    for (const std::uint32_t g : which) {
        for (std::size_t r = 0; r < games.RomCount(g); ++r) {
            const DatRomRecord& rom = games.Rom(g, r);
            const HashTexts hex = HexOf(rom);
            AppendCsvField(text, games.Name(g));
            text += ',';
            text += SizeText(rom.size);
            text += ',';
            text += hex.crc;
            text += ',';
            text += hex.sha1;
            text += "\r\n";
        }
        out.Pass();
    }
    return out.Finish();
}

std::string WriteLogiqxDat(std::string_view name, std::string_view description, const DatGames& games) {
    std::string text;
    WriteLogiqxDat(Into(text), name, description, games, Every(games));
    return text;
}

std::string WriteLogiqxDat(std::string_view name, std::string_view description, const std::vector<DatGame>& games) {
    return WriteLogiqxDat(name, description, Stored(games));
}

std::string WriteMissingCsv(const std::vector<DatGame>& games) {
    const DatGames stored = Stored(games);
    std::string text;
    WriteMissingCsv(Into(text), stored, Every(stored));
    return text;
}

}  // namespace kestro::romdb
