// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DAT files and zip archives written by the tests themselves: games whose
// roms are generated ROM images, their hashes taken here with zlib and
// OpenSSL's one-shot calls (not through the program's chunked hashing).

#include <openssl/evp.h>
#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/core/RomBuilder.h"

namespace kestro::test {

inline std::string HexOf(const unsigned char* bytes, unsigned length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < length; ++i) text += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
    return text;
}

inline std::string Crc32Of(const std::vector<std::uint8_t>& bytes) {
    const auto crc = static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
    const unsigned char b[4] = {static_cast<unsigned char>(crc >> 24), static_cast<unsigned char>(crc >> 16),
                                static_cast<unsigned char>(crc >> 8), static_cast<unsigned char>(crc)};
    return HexOf(b, 4);
}

inline std::string DigestOf(const char* name, const std::vector<std::uint8_t>& bytes) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_Digest(bytes.data(), bytes.size(), out, &length, EVP_get_digestbyname(name), nullptr);
    return HexOf(out, length);
}

/// The CRC32 as the program shows it, in upper case.
inline std::string UpperCrc32Of(const std::vector<std::uint8_t>& bytes) {
    std::string crc = Crc32Of(bytes);
    for (char& c : crc) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return crc;
}

/// One rom of a DAT game, and the bytes it stands for.
struct GameRom {
    GameRom(std::string n, std::vector<std::uint8_t> b, bool sha1 = true, bool md5 = true)
        : name(std::move(n)), bytes(std::move(b)), withSha1(sha1), withMd5(md5) {}
    std::string name;
    std::vector<std::uint8_t> bytes;
    bool withSha1 = true;
    bool withMd5 = true;
    std::string sha1Override;  ///< a SHA-1 of some other dump with the same CRC
};

struct Game {
    std::string name;
    std::vector<GameRom> roms;
};

/// Distinct unknown-to-the-table ROM images: a different title and filler per seed.
inline std::vector<std::uint8_t> DumpBytes(std::uint32_t seed, std::size_t size = 64 * 1024) {
    return RomBuilder::Unknown().Size(size).Seed(seed).Title("GAME " + std::to_string(seed)).Build();
}

inline std::string XmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

/// The games as Logiqx XML, hashes in upper case as some DATs write them.
inline std::string LogiqxDat(const std::string& name, const std::vector<Game>& games) {
    std::string text = "<?xml version=\"1.0\"?>\n<datafile>\n  <header>\n    <name>" + XmlText(name) +
                       "</name>\n    <description>" + XmlText(name) + " (test)</description>\n  </header>\n";
    for (const Game& g : games) {
        text += "  <game name=\"" + XmlText(g.name) + "\">\n    <description>" + XmlText(g.name) + "</description>\n";
        for (const GameRom& r : g.roms) {
            text += "    <rom name=\"" + XmlText(r.name) + "\" size=\"" + std::to_string(r.bytes.size()) + "\" crc=\"" +
                    UpperCrc32Of(r.bytes) + "\"";
            if (r.withMd5) text += " md5=\"" + DigestOf("MD5", r.bytes) + "\"";
            if (r.withSha1)
                text += " sha1=\"" + (r.sha1Override.empty() ? DigestOf("SHA1", r.bytes) : r.sha1Override) + "\"";
            text += "/>\n";
        }
        text += "  </game>\n";
    }
    return text + "</datafile>\n";
}

/// The same games in clrmamepro's text form.
inline std::string ClrMameProDat(const std::string& name, const std::vector<Game>& games) {
    std::string text = "clrmamepro (\n\tname \"" + name + "\"\n\tdescription \"" + name + " (test)\"\n)\n\n";
    for (const Game& g : games) {
        text += "game (\n\tname \"" + g.name + "\"\n\tdescription \"" + g.name + "\"\n";
        for (const GameRom& r : g.roms) {
            text +=
                "\trom ( name \"" + r.name + "\" size " + std::to_string(r.bytes.size()) + " crc " + Crc32Of(r.bytes);
            if (r.withMd5) text += " md5 " + DigestOf("MD5", r.bytes);
            if (r.withSha1) text += " sha1 " + (r.sha1Override.empty() ? DigestOf("SHA1", r.bytes) : r.sha1Override);
            text += " )\n";
        }
        text += ")\n\n";
    }
    return text;
}

inline void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

/// A zip archive holding these entries, deflated.
inline void WriteZip(const std::string& path,
                     const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (source == nullptr || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            throw std::runtime_error("cannot add " + name);
        }
    }
    // The buffers must live until the archive is written, which zip_close does.
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write " + path);
}

/// Nine games: three of them missing from the collection below, one listed
/// with the SHA-1 of another dump than the one with its CRC, one whose name
/// has characters no file name may hold and whose rom's name says more.
inline std::vector<Game> CollectionGames() {
    auto game = [](const std::string& name, std::uint32_t seed) {
        return Game{name, {{name + ".vb", DumpBytes(seed)}}};
    };
    std::vector<Game> games{game("Golf (USA)", 21),
                            game("Jack Bros. (Japan)", 27),
                            game("Mario Clash (Japan, USA)", 22),
                            game("Panic Bomber (USA)", 28),
                            game("Red Alarm (USA)", 23),
                            game("Space Squash (Japan)", 29),
                            game("Virtual Fishing (Japan) [b1]", 24),
                            game("Virtual Pong (PD)", 25),
                            game("Wario: Land / Special", 26)};
    games[5].roms[0].sha1Override = "0123456789abcdef0123456789abcdef01234567";
    games[8].roms[0].name = "Wario: Land / Special (Aftermarket) (Unl).vb";
    return games;
}

/// A directory of those games' ROMs under names that say nothing, some
/// zipped, one zipped and unzipped, one twice, with unknown and broken files.
inline void WriteDatCollection(const std::filesystem::path& dir) {
    const std::vector<Game> games = CollectionGames();
    auto bytes = [&](const std::string& name) {
        for (const Game& g : games) {
            if (g.name == name) return g.roms[0].bytes;
        }
        throw std::out_of_range(name);
    };
    auto file = [&](const std::string& name) { return (dir / name).string(); };
    WriteBytes(file("one.vb"), bytes("Golf (USA)"));
    WriteBytes(file("golf-copy.vb"), bytes("Golf (USA)"));
    WriteZip(file("mario.zip"), {{"Mario Clash (Japan, USA).vb", bytes("Mario Clash (Japan, USA)")},
                                 {"readme.txt", {'h', 'e', 'l', 'l', 'o'}}});
    WriteBytes(file("alarm.vb"), bytes("Red Alarm (USA)"));
    WriteZip(file("alarm.zip"), {{"x.vb", bytes("Red Alarm (USA)")}});
    WriteBytes(file("fish.VB"), bytes("Virtual Fishing (Japan) [b1]"));
    WriteZip(file("pong.zip"), {{"pong.vb", bytes("Virtual Pong (PD)")}});
    WriteBytes(file("wario.vb"), bytes("Wario: Land / Special"));
    WriteBytes(file("squash.vb"), bytes("Space Squash (Japan)"));
    RomBuilder::Unknown().WriteTo(file("mystery.vb"));
    WriteText(file("broken.zip"), "PK\x03\x04 this is no archive");
    WriteBytes(file("tiny.vb"), {1, 2, 3});
    WriteText(file("notes.txt"), "not listed");
}

/// The status each row of that directory gets, by its listed name.
inline std::map<std::string, std::string> DatCollectionStatuses() {
    const std::string arrow = " \xE2\x86\x92 ";
    return {{"alarm.vb", "Red Alarm (USA)"},
            {"alarm.zip" + arrow + "x.vb", "Red Alarm (USA)"},
            {"broken.zip", "[INVALID VB ROM IMAGE]"},
            {"fish.VB", "Virtual Fishing (Japan) [b1]"},
            {"golf-copy.vb", "Golf (USA)"},
            {"mario.zip" + arrow + "Mario Clash (Japan, USA).vb", "Mario Clash (Japan, USA)"},
            {"mystery.vb", "[UNKNOWN VB ROM]"},
            {"one.vb", "Golf (USA)"},
            {"pong.zip" + arrow + "pong.vb", "Virtual Pong (PD)"},
            {"squash.vb", "[UNKNOWN VB ROM]"},
            {"tiny.vb", "[INVALID VB ROM IMAGE]"},
            {"wario.vb", "Wario: Land / Special"}};
}

}  // namespace kestro::test
