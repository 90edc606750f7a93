// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/BaseCheck.h"

#include <filesystem>

#include "rom/Identification.h"
#include "rom/RomImage.h"
#include "romdb/ContentHash.h"
#include "romdb/Listing.h"
#include "romdb/ZipArchive.h"

namespace kestro::patch {

namespace {

constexpr const char* kPatchTitle = "Apply Patch";

std::string Stem(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace

Dump DumpOf(ByteView data, const romdb::Catalogue* dat) {
    Dump dump{data.size(), Crc32(data), {}};
    if (dat != nullptr && !dat->IsBuiltIn()) {
        romdb::HashRun run;
        run.Start(dat->Needs());
        run.Update(data.data(), data.size());
        if (const auto game = dat->Match(static_cast<std::int64_t>(data.size()), run.Finish())) {
            dump.name = dat->Names()[*game];
        }
        return dump;
    }
    if (rom::CheckRomData({data.begin(), data.end()}) != rom::RomCheck::Accepted) return dump;
    const rom::Identification id = rom::IdentifyRom({data.begin(), data.end()});
    if (id.Known()) dump.name = id.label;
    return dump;
}

Dump WantedBase(const PatchInfo& info, const romdb::Catalogue* dat) {
    Dump dump{info.sourceSize, info.sourceCrc, {}};
    if (dat != nullptr) {
        if (const auto game = dat->MatchCrc(static_cast<std::int64_t>(info.sourceSize), info.sourceCrc)) {
            dump.name = dat->Names()[*game];
        }
    }
    return dump;
}

std::string Describe(const Dump& dump) {
    if (dump.Known()) return dump.name;
    return "a file of " + std::to_string(dump.size) + " bytes with CRC32 " + CrcHex(dump.crc);
}

CheckedApply ApplyChecked(ByteView patch, ByteView source, bool force, const romdb::Catalogue* dat) {
    CheckedApply outcome;
    outcome.applied = ApplyPatch(patch, source, force);
    outcome.opened = DumpOf(source, dat);
    if (outcome.applied.info.hasChecks) outcome.wanted = WantedBase(outcome.applied.info, dat);
    if (outcome.Applied()) outcome.result = DumpOf(outcome.applied.target, dat);
    return outcome;
}

std::string WrongBaseText(const CheckedApply& outcome) {
    return "This patch is for " + Describe(outcome.wanted) + "; the opened file is " + Describe(outcome.opened) + ".";
}

base::Message FindBaseQuestion(const CheckedApply& outcome, const std::string& directory) {
    return {kPatchTitle,
            base::JoinCr({WrongBaseText(outcome), "", "Look for it in your collection (" + directory + ")?"}),
            base::MessageIcon::Question, base::MessageButtons::YesNo, base::MessageResult::No};
}

base::Message BaseNotFoundQuestion(const CheckedApply& outcome, const std::string& directory) {
    return {kPatchTitle,
            base::JoinCr({"No file in " + directory + " is " + Describe(outcome.wanted) + ".", "",
                          "Look in another directory?"}),
            base::MessageIcon::Question, base::MessageButtons::YesNo, base::MessageResult::No};
}

base::Message ApplyAnywayQuestion(const CheckedApply& outcome) {
    return {kPatchTitle,
            base::JoinCr(
                {WrongBaseText(outcome), "", "Applying it anyway gives a ROM that is no known dump. Apply it anyway?"}),
            base::MessageIcon::Exclamation, base::MessageButtons::YesNo, base::MessageResult::No};
}

base::Message RefusedMessage(const CheckedApply& outcome) {
    const std::string text = outcome.WrongBase() ? WrongBaseText(outcome) : outcome.applied.error;
    return {kPatchTitle, text, base::MessageIcon::Exclamation, base::MessageButtons::Ok, base::MessageResult::Ok};
}

std::vector<std::string> ResultNotes(const CheckedApply& outcome) {
    std::vector<std::string> notes;
    if (!outcome.Applied()) return notes;
    notes.push_back("The patched ROM is " + Describe(outcome.result) + ".");
    if (!outcome.applied.info.hasChecks && outcome.opened.Known() && !outcome.result.Known()) {
        notes.push_back("Warning: the patched ROM is no known dump, though the opened file was " + outcome.opened.name +
                        ". IPS patches carry no checks: make sure the patch is for this dump.");
    }
    if (outcome.applied.reversed) notes.push_back("The opened file was this patch's result: the patch was undone.");
    for (const std::string& warning : outcome.applied.warnings) notes.push_back("Warning: " + warning);
    return notes;
}

bool IsDumpName(std::string_view fileName, const romdb::Catalogue* dat) {
    const std::string stem = Stem(std::string(fileName));
    if (rom::IsKnownName(stem)) return true;
    if (dat == nullptr) return false;
    for (std::string_view name : dat->Names()) {
        if (name == stem || romdb::SafeFileName(name) == stem) return true;
    }
    return false;
}

std::string ForcedNameProblem(const std::string& path, const romdb::Catalogue* dat) {
    if (!IsDumpName(path, dat)) return {};
    return "A patch applied to another dump gives no known dump: save it under another name than " +
           std::filesystem::path(path).filename().string() + ".";
}

std::string PatchedFileName(const std::string& romPath, const std::string& patchPath) {
    const std::filesystem::path rom(romPath);
    std::filesystem::path named = rom;
    named.replace_filename(Stem(romPath) + " (" + Stem(patchPath) + ")" + rom.extension().string());
    return named.string();
}

namespace {

bool ReadWhole(romdb::InputFile& input, Bytes& data) {
    data.resize(static_cast<std::size_t>(input.Size()));
    std::size_t got = 0;
    while (got < data.size()) {
        const std::ptrdiff_t n = input.Read(data.data() + got, data.size() - got);
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<FoundBase> FindBase(romdb::FileOps& files, const std::string& directory, std::uint64_t size,
                                  std::uint32_t crc) {
    romdb::ZipArchives archives;
    const auto matches = [&](romdb::InputFile& input, Bytes& data) {
        return static_cast<std::uint64_t>(input.Size()) == size && ReadWhole(input, data) && Crc32(data) == crc;
    };
    for (const std::string& name : romdb::ListRomFiles(files, directory, true)) {
        const std::string path = (std::filesystem::path(directory) / name).string();
        std::string error;
        FoundBase found{path, {}, {}};
        if (!romdb::IsZipFileName(name)) {
            auto input = files.OpenRead(path, error);
            if (input && matches(*input, found.data)) return found;
            continue;
        }
        std::vector<romdb::ZipEntry> entries;
        if (!romdb::ListZipEntries(path, entries, error)) continue;
        for (const romdb::ZipEntry& entry : entries) {
            if (static_cast<std::uint64_t>(entry.size) != size) continue;
            auto input = archives.OpenEntry(path, entry.index, error);
            if (input && matches(*input, found.data)) {
                found.entry = entry.name;
                return found;
            }
        }
    }
    return std::nullopt;
}

}  // namespace kestro::patch
