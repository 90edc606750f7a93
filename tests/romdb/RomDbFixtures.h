// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the collection tests: a host that records what a run shows, a
// file system that fails on request, directories of generated ROMs, and DAT
// files and zip archives written by the tests themselves (their hashes taken
// with zlib and OpenSSL's one-shot calls, not the program's chunked hashing).

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "romdb/Collection.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {

/// Lines joined as report texts write them: CR LF after every line.
inline std::string ReportLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

/// Records every message, progress value and step; answers questions Yes
/// unless told otherwise.
class RecordingHost final : public romdb::CollectionHost {
public:
    base::MessageResult ShowMessage(const base::Message& m) override {
        messages.push_back(m);
        if (m.buttons == base::MessageButtons::Ok) return base::MessageResult::Ok;
        return answer;
    }
    void ShowProgress(int percent) override { progress.push_back(percent); }
    void LetEventsRun() override {
        ++events;
        if (onEvents) onEvents(events);
    }
    void ListingChanged() override {}
    void RowChanged(std::size_t) override {}
    void RunStepReached(romdb::RunStep step) override { steps.push_back(step); }

    /// Titles of the messages shown, in order.
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const auto& m : messages) titles.push_back(m.title);
        return titles;
    }
    /// The text of the first message with this title; empty when none was shown.
    std::string Text(const std::string& title) const {
        for (const auto& m : messages)
            if (m.title == title) return m.text;
        return {};
    }

    std::vector<base::Message> messages;
    std::vector<int> progress;
    std::vector<romdb::RunStep> steps;
    int events = 0;
    base::MessageResult answer = base::MessageResult::Yes;
    std::function<void(int events)> onEvents;
};

/// The real file system, with faults injected on request.
class FaultyFileOps final : public romdb::FileOps {
public:
    using PathTest = std::function<bool(const std::string& path)>;

    std::vector<std::string> ListFiles(const std::string& d) override { return disk.ListFiles(d); }
    bool IsDirectory(const std::string& p) override { return disk.IsDirectory(p); }
    bool Exists(const std::string& p) override { return disk.Exists(p); }
    std::unique_ptr<romdb::InputFile> OpenRead(const std::string& p, std::string& error) override {
        if (beforeOpen) beforeOpen(p);
        if (failOpen && failOpen(p)) {
            error = "Cannot open " + p + ": Permission denied";
            return nullptr;
        }
        return disk.OpenRead(p, error);
    }
    Renamed RenameFile(const std::string& from, const std::string& to, bool replace, std::string& error) override {
        if (!renames) return Renamed::NeedsCopy;
        if (failRename && failRename(to)) {
            error = "Cannot move " + from + ": Read-only file system";
            return Renamed::Failed;
        }
        return disk.RenameFile(from, to, replace, error);
    }
    romdb::FileResult CopyFile(const std::string& from, const std::string& to) override {
        if (beforeCopy) beforeCopy(from);
        if (failCopyTo && failCopyTo(to))
            return romdb::FileResult::Failed("Cannot write " + to + ": Permission denied");
        if (partialCopyTo && partialCopyTo(to)) return PartialCopy(from, to);
        if (reorderCopyTo && reorderCopyTo(to)) return ReorderedCopy(from, to);
        return disk.CopyFile(from, to);
    }
    romdb::FileResult RemoveFile(const std::string& p) override {
        if (failRemove && failRemove(p)) return romdb::FileResult::Failed("Cannot delete " + p + ": Device busy");
        return disk.RemoveFile(p);
    }
    romdb::FileResult MakeDirectory(const std::string& p) override {
        if (failMakeDirectory && failMakeDirectory(p))
            return romdb::FileResult::Failed("Cannot create the directory " + p + ": Read-only file system");
        return disk.MakeDirectory(p);
    }
    romdb::FileResult RemoveDirectory(const std::string& p) override {
        if (failRemoveDirectory && failRemoveDirectory(p))
            return romdb::FileResult::Failed("Cannot remove the directory " + p + ": Device or resource busy");
        return disk.RemoveDirectory(p);
    }
    romdb::FileResult WriteFile(const std::string& p, const std::string& bytes) override {
        if (failWrite && failWrite(p))
            return romdb::FileResult::Failed("Cannot write " + p + ": No space left on device");
        return disk.WriteFile(p, bytes);
    }
    bool OpensFromAnyThread() const override { return anyThread; }
    // Recorded, not done: the tests need not wait on the disk.
    void SyncDirectory(const std::string& d) override { synced.push_back(d); }

    PathTest failCopyTo, partialCopyTo, reorderCopyTo, failRemove, failMakeDirectory, failWrite, failOpen, failRename,
        failRemoveDirectory;
    /// Moves rename within the file system, as on disk; off, every move copies.
    bool renames = true;
    /// A partial copy reports its failure, or (when false) claims success.
    bool partialCopyReportsFailure = true;
    std::function<void(const std::string& from)> beforeCopy;
    std::function<void(const std::string& path)> beforeOpen;
    /// Lets a run open files on its workers (failOpen then must not change during it).
    bool anyThread = false;
    std::vector<std::string> synced;  ///< the directories flushed to disk, in order
    romdb::DiskFileOps disk;

private:
    // A copy that stops half-way, as a full disk or a pulled cable leaves it.
    romdb::FileResult PartialCopy(const std::string& from, const std::string& to) {
        auto bytes = ReadBytes(from);
        bytes.resize(bytes.size() / 2);
        WriteBytes(to, bytes);
        if (partialCopyReportsFailure) return romdb::FileResult::Failed("Cannot write " + to + ": Input/output error");
        return {};
    }
    // A copy claimed whole, of the right size and byte sum, with two bytes swapped.
    romdb::FileResult ReorderedCopy(const std::string& from, const std::string& to) {
        auto bytes = ReadBytes(from);
        const auto other = std::find_if(bytes.begin(), bytes.end(), [&](std::uint8_t b) { return b != bytes[0]; });
        if (other != bytes.end()) std::iter_swap(bytes.begin(), other);
        WriteBytes(to, bytes);
        return {};
    }
};

/// Every file under a directory (recursively), by path relative to it, with its bytes.
inline std::map<std::string, std::vector<std::uint8_t>> FilesUnder(const std::filesystem::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[relative(entry.path(), root).string()] = ReadBytes(entry.path().string());
    return files;
}

/// How often each content occurs among the files.
inline std::map<std::vector<std::uint8_t>, int> Contents(
    const std::map<std::string, std::vector<std::uint8_t>>& files) {
    std::map<std::vector<std::uint8_t>, int> counts;
    for (const auto& [path, bytes] : files) ++counts[bytes];
    return counts;
}

/// A known dump written to dir/name; seed varies the filler so copies can differ.
inline std::vector<std::uint8_t> WriteKnown(const std::filesystem::path& dir, const std::string& name,
                                            const std::string& romName, std::uint32_t seed = 1) {
    return RomBuilder::KnownDump(romName).Seed(seed).WriteTo((dir / name).string());
}

/// The mixed collection the tests share: one of every kind of file (see
/// MixedStatuses), three copies of one Golf dump, and a file that is no ROM.
inline void WriteMixedCollection(const std::filesystem::path& dir) {
    WriteKnown(dir, "a_good.vb", "Red Alarm (U) [!]");
    WriteKnown(dir, "b_bad.vb", "Mario Clash (JU) [b1]");
    WriteKnown(dir, "c_trans.vb", "Teleroboxer (JU) [T-German0.40b_QM404T]");
    // This row's whole-file checksum fits no header but one whose bytes sum
    // to 1800; the listed header sums to 1964.
    RomBuilder::KnownDump("Reality Boy Demo 1 (PD)").Title("TEST- BY BRANNock").WriteTo((dir / "d_pd.VB").string());
    RomBuilder::KnownDump("Mario Clash (JU) [!]").GameCode("VMCE").WriteTo((dir / "e_hack.vb").string());
    RomBuilder::KnownDump("Waterworld (U) [b1]").Title("WATERWORLD 2").WriteTo((dir / "f_hackb.vb").string());
    RomBuilder::Unknown().WriteTo((dir / "g_unknown.vb").string());
    WriteBytes((dir / "h_small.vb").string(), std::vector<std::uint8_t>(544, 0));
    WriteBytes((dir / "i_empty.vb").string(), {});
    RomBuilder::Unknown().Reserved(2, 1).WriteTo((dir / "j_reserved.vb").string());
    for (const char* name : {"golf1.vb", "golf2.vb", "golf3.vb"}) WriteKnown(dir, name, "Golf (U) [!]", 3);
    WriteBytes((dir / "readme.txt").string(), {'h', 'i'});
}

/// The status each file of the mixed collection is identified with.
inline std::map<std::string, std::string> MixedStatuses() {
    return {{"a_good.vb", "Red Alarm (U) [!]"},
            {"b_bad.vb", "Mario Clash (JU) [b1]"},
            {"c_trans.vb", "Teleroboxer (JU) [T-German0.40b_QM404T]"},
            {"d_pd.VB", "Reality Boy Demo 1 (PD)"},
            {"e_hack.vb", "Mario Clash (JU) [h]"},
            {"f_hackb.vb", "Waterworld (U) [b1] [h]"},
            {"g_unknown.vb", "[UNKNOWN VB ROM]"},
            {"h_small.vb", "[INVALID VB ROM IMAGE]"},
            {"i_empty.vb", "[INVALID VB ROM IMAGE]"},
            {"j_reserved.vb", "[INVALID VB ROM IMAGE]"},
            {"golf1.vb", "Golf (U) [!]"},
            {"golf2.vb", "Golf (U) [!]"},
            {"golf3.vb", "Golf (U) [!]"}};
}

/// A collection over a fresh directory, on the real file system with faults
/// on request; its temporary directory is always ~ROMTMP250.
class CollectionTest : public ::testing::Test {
protected:
    std::string Base() const { return dir.Path().string() + "/"; }
    /// Lists the directory and runs over it, with the question answered by the host.
    void Run(romdb::CollectionOptions options = {}) {
        collection.SetListingDirectory(dir.Path().string());
        collection.Run(options);
    }
    void RunRename(bool move) { Run({.rename = true, .move = move}); }
    const romdb::FileRow& Row(const std::string& name) const {
        for (const romdb::FileRow& row : collection.Rows())
            if (row.name == name) return row;
        throw std::out_of_range(name);
    }

    TempDir dir;
    FaultyFileOps files;
    RecordingHost host;
    romdb::Collection collection{files, host, [] { return 0.25; }};
};

/// The CRC32 in lower case, or in the form given.
inline std::string Crc32Of(const std::vector<std::uint8_t>& bytes, const char* form = "%08x") {
    char text[9];
    std::snprintf(text, sizeof text, form,
                  static_cast<unsigned>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size()))));
    return text;
}

inline std::string DigestOf(const char* name, const std::vector<std::uint8_t>& bytes) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_Digest(bytes.data(), bytes.size(), out, &length, EVP_get_digestbyname(name), nullptr);
    std::string text;
    for (unsigned i = 0; i < length; ++i) text += {"0123456789abcdef"[out[i] >> 4], "0123456789abcdef"[out[i] & 15]};
    return text;
}

/// One rom of a DAT game, and the bytes it stands for.
struct GameRom {
    std::string name;
    std::vector<std::uint8_t> bytes;
    bool withSha1 = true;
    bool withMd5 = true;
    std::string sha1Override = {};  ///< a SHA-1 of some other dump with the same CRC
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
    for (char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

inline std::string Sha1Of(const GameRom& r) {
    return r.sha1Override.empty() ? DigestOf("SHA1", r.bytes) : r.sha1Override;
}

/// The games as Logiqx XML, hashes in upper case as some DATs write them.
inline std::string LogiqxDat(const std::string& name, const std::vector<Game>& games) {
    std::string text = "<?xml version=\"1.0\"?>\n<datafile>\n  <header>\n    <name>" + XmlText(name) +
                       "</name>\n    <description>" + XmlText(name) + " (test)</description>\n  </header>\n";
    for (const Game& g : games) {
        text += "  <game name=\"" + XmlText(g.name) + "\">\n    <description>" + XmlText(g.name) + "</description>\n";
        for (const GameRom& r : g.roms) {
            text += "    <rom name=\"" + XmlText(r.name) + "\" size=\"" + std::to_string(r.bytes.size()) + "\" crc=\"" +
                    Crc32Of(r.bytes, "%08X") + "\"";
            if (r.withMd5) text += " md5=\"" + DigestOf("MD5", r.bytes) + "\"";
            if (r.withSha1) text += " sha1=\"" + Sha1Of(r) + "\"";
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
            if (r.withSha1) text += " sha1 " + Sha1Of(r);
            text += " )\n";
        }
        text += ")\n\n";
    }
    return text;
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
        return std::find_if(games.begin(), games.end(), [&](const Game& g) { return g.name == name; })->roms[0].bytes;
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
