// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the collection tests: a host that records what a run shows, a
// file system that fails on request, and directories of generated ROMs.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "romdb/Collection.h"
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
        for (const auto& m : messages) {
            if (m.title == title) return m.text;
        }
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
    bool Exists(const std::string& p) override {
        ++existsChecks;
        return disk.Exists(p);
    }
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
        if (failMakeDirectory && failMakeDirectory(p)) {
            return romdb::FileResult::Failed("Cannot create the directory " + p + ": Read-only file system");
        }
        return disk.MakeDirectory(p);
    }
    romdb::FileResult RemoveDirectory(const std::string& p) override {
        if (failRemoveDirectory && failRemoveDirectory(p)) {
            return romdb::FileResult::Failed("Cannot remove the directory " + p + ": Device or resource busy");
        }
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
    int existsChecks = 0;
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
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), root).string()] = ReadBytes(entry.path().string());
        }
    }
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
        for (const romdb::FileRow& row : collection.Rows()) {
            if (row.name == name) return row;
        }
        throw std::out_of_range(name);
    }

    TempDir dir;
    FaultyFileOps files;
    RecordingHost host;
    romdb::Collection collection{files, host, [] { return 0.25; }};
};

}  // namespace kestro::test
