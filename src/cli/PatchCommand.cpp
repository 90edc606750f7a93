// SPDX-License-Identifier: GPL-3.0-or-later
#include <ostream>

#include "base/AtomicFile.h"
#include "base/FileRead.h"
#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "patch/BaseCheck.h"

namespace kestro::cli {

namespace {

constexpr const char* kName = "kestro patch";

struct PatchOptions {
    std::vector<std::string> files;
    std::string output;
    std::string datPath;
    bool create = false;
    bool info = false;
    bool force = false;
    bool json = false;
};

void AddOptions(CLI::App& command, PatchOptions& o) {
    command
        .add_option("FILE", o.files,
                    "The ROM and its patches (IPS, BPS or UPS, applied in order); with --create the original "
                    "and the modified ROM; with --info the patch")
        ->required();
    command
        .add_option("--out", o.output,
                    "The file to write: the patched ROM, or with --create the patch, whose format its extension "
                    "names (.ips, .bps or .ups). It replaces a file there only once complete")
        ->type_name("OUT");
    command.add_flag("--create", o.create, "Create a patch from the original to the modified ROM");
    command.add_flag("--info", o.info, "Describe the patch: format, sizes, CRC32s, metadata, base and result");
    command.add_flag("--force", o.force,
                     "Apply a BPS or UPS patch to a ROM other than the one it is for (the result must then not "
                     "carry a known dump's name)");
    command.add_option("--dat", o.datPath, "Name bases and results from this DAT file too")->type_name("FILE");
    command.add_flag("--json", o.json, "Write the report as JSON");
}

std::string Problem(const PatchOptions& o) {
    if (o.create && o.info) return "--create and --info: give one of them.";
    if (o.info) {
        if (o.files.size() != 1) return "--info: give one patch file.";
        if (!o.output.empty()) return "--info writes nothing: leave out --out.";
        return {};
    }
    if (o.output.empty()) return "--out: give the name of the file to write.";
    if (o.create) {
        if (o.files.size() != 2) return "--create: give the original and the modified ROM.";
        if (!patch::FormatFromFileName(o.output)) return "--out: the patch's name must end in .ips, .bps or .ups.";
    } else if (o.files.size() < 2) {
        return "give the ROM and at least one patch.";
    }
    return {};
}

bool ReadInput(const std::string& path, patch::Bytes& data, std::ostream& err) {
    const base::ReadResult read = base::ReadRegularFile(path, data, patch::kLargestTarget + 1);
    if (!read) {
        err << kName << ": " << path << ": " << (read.reason.empty() ? "the file does not exist" : read.reason)
            << ".\n";
        return false;
    }
    if (data.size() > patch::kLargestTarget) {
        err << kName << ": " << path << ": the file is larger than any ROM or patch.\n";
        return false;
    }
    return true;
}

nlohmann::ordered_json DumpJson(const patch::Dump& dump) {
    return {{"name", dump.Known() ? nlohmann::ordered_json(dump.name) : nlohmann::ordered_json()},
            {"crc32", patch::CrcHex(dump.crc)},
            {"size", dump.size}};
}

int Info(const PatchOptions& o, const romdb::Catalogue* dat, std::ostream& out, std::ostream& err) {
    patch::Bytes bytes;
    if (!ReadInput(o.files[0], bytes, err)) return kExitRefused;
    const patch::ReadResult read = patch::ReadPatch(bytes);
    if (!read.info) {
        err << kName << ": " << o.files[0] << ": " << read.error << '\n';
        return kExitRefused;
    }
    const patch::PatchInfo& info = *read.info;
    nlohmann::ordered_json json{{"path", o.files[0]}, {"format", patch::FormatName(info.format)}};
    if (info.hasChecks) {
        const patch::Dump base = patch::WantedBase(info, dat);
        patch::PatchInfo reversed = info;
        reversed.sourceSize = info.targetSize;
        reversed.sourceCrc = info.targetCrc;
        const patch::Dump target = patch::WantedBase(reversed, dat);
        json["base"] = DumpJson(base);
        json["target"] = DumpJson(target);
        json["patch_crc32"] = patch::CrcHex(info.patchCrc);
        if (info.format == patch::PatchFormat::Bps) json["metadata"] = info.metadata;
    } else {
        json["records"] = info.records;
        json["truncated_to"] = info.truncateTo ? nlohmann::ordered_json(*info.truncateTo) : nlohmann::ordered_json();
    }
    if (o.json) {
        out << JsonText(json) << '\n';
        return kExitOk;
    }
    out << o.files[0] << '\n' << "  Format:    " << patch::FormatName(info.format) << '\n';
    if (info.hasChecks) {
        for (const char* end : {"base", "target"}) {
            const auto& d = json[end];
            out << (end[0] == 'b' ? "  Base:      " : "  Result:    ")
                << (d["name"].is_null() ? std::string("(unknown)") : d["name"].get<std::string>()) << ", CRC32 "
                << d["crc32"].get<std::string>() << ", " << d["size"].get<std::uint64_t>() << " bytes\n";
        }
        out << "  Patch CRC: " << patch::CrcHex(info.patchCrc) << '\n';
        if (!info.metadata.empty()) out << "  Metadata:  " << PrintableText(info.metadata, false) << '\n';
    } else {
        out << "  Records:   " << info.records << '\n' << "  Checks:    none (IPS records no base and no result)\n";
        if (info.truncateTo) out << "  Cut to:    " << *info.truncateTo << " bytes\n";
    }
    return kExitOk;
}

int Create(const PatchOptions& o, std::ostream& out, std::ostream& err) {
    patch::Bytes original;
    patch::Bytes modified;
    if (!ReadInput(o.files[0], original, err) || !ReadInput(o.files[1], modified, err)) return kExitRefused;
    const patch::CreateResult created = patch::CreatePatch(*patch::FormatFromFileName(o.output), original, modified);
    if (!created.Ok()) {
        err << kName << ": " << created.error << '\n';
        return kExitRefused;
    }
    if (auto written = base::WriteFileAtomically(o.output, created.patch); !written) {
        err << kName << ": " << written.reason << '\n';
        return kExitRefused;
    }
    out << "Wrote " << o.output << ": " << created.patch.size() << " bytes.\n";
    return kExitOk;
}

int Apply(const PatchOptions& o, const romdb::Catalogue* dat, std::ostream& out, std::ostream& err) {
    const auto opened = rom::OpenRom(o.files[0], rom::kLargestVbRom);
    if (!opened.Accepted()) {
        err << kName << ": " << o.files[0] << ": " << MessageLine(opened.message) << '\n';
        return kExitRefused;
    }
    patch::Bytes rom = opened.image.data;
    nlohmann::ordered_json report{{"rom", o.files[0]}, {"source", DumpJson(patch::DumpOf(rom, dat))}};
    auto& patches = report["patches"] = nlohmann::ordered_json::array();
    bool forced = false;
    bool refused = false;
    for (std::size_t i = 1; i < o.files.size() && !refused; ++i) {
        patch::Bytes bytes;
        if (!ReadInput(o.files[i], bytes, err)) return kExitRefused;
        const patch::CheckedApply outcome = patch::ApplyChecked(bytes, rom, o.force, dat);
        nlohmann::ordered_json entry{{"path", o.files[i]}, {"format", patch::FormatName(outcome.applied.info.format)}};
        entry["expected_base"] = outcome.applied.info.hasChecks ? DumpJson(outcome.wanted) : nlohmann::ordered_json();
        std::vector<std::string> messages;
        if (outcome.Applied()) {
            messages = patch::ResultNotes(outcome);
            forced = forced || !outcome.applied.warnings.empty();
            rom = outcome.applied.target;
        } else {
            messages.push_back(patch::RefusedMessage(outcome).text);
            if (outcome.WrongBase()) messages.push_back("Use --force to apply it anyway.");
            refused = true;
        }
        entry["applied"] = outcome.Applied();
        entry["messages"] = messages;
        if (!o.json) {
            for (const std::string& m : messages) (refused ? err : out) << o.files[i] << ": " << m << '\n';
        }
        patches.push_back(std::move(entry));
    }
    const patch::Dump result = patch::DumpOf(rom, dat);
    if (const std::string why = forced ? patch::ForcedNameProblem(o.output, dat) : ""; !refused && !why.empty()) {
        if (!o.json) err << kName << ": " << why << '\n';
        report["messages"] = {why};
        refused = true;
    }
    bool written = false;
    if (!refused) {
        if (auto w = base::WriteFileAtomically(o.output, rom); !w) {
            err << kName << ": " << w.reason << '\n';
            refused = true;
        } else {
            written = true;
            if (!o.json) out << "Wrote " << o.output << ": " << patch::Describe(result) << ".\n";
        }
    }
    report["target"] = DumpJson(result);
    report["identification"] = result.Known() ? nlohmann::ordered_json(result.name) : nlohmann::ordered_json();
    report["out"] = o.output;
    report["written"] = written;
    if (o.json) out << JsonText(report) << '\n';
    return refused ? kExitRefused : kExitOk;
}

}  // namespace

int PatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Applies IPS, BPS and UPS patches to a ROM image in order (kestro patch ROM PATCH... --out OUT), each "
        "checked against the result of the one before: a BPS or UPS patch made for another dump is refused, "
        "naming the dump it wants. Creates a patch (kestro patch --create ORIGINAL MODIFIED --out X.bps) or "
        "describes one (kestro patch --info PATCH). Exit status 0 when the file was written (or described), 1 when a "
        "file or "
        "patch was refused or the write failed.",
        kName};
    PatchOptions options;
    AddOptions(command, options);
    if (auto status = ParseCommand(command, args, out, err)) return *status;
    if (const std::string problem = Problem(options); !problem.empty()) {
        err << kName << ": " << problem << '\n' << "Run 'kestro patch --help' for usage.\n";
        return kExitUsage;
    }
    std::shared_ptr<const romdb::Catalogue> catalogue;
    if (!options.datPath.empty()) {
        if (auto status = ReadDatOption(options.datPath, kName, err, catalogue)) return *status;
    }
    if (options.info) return Info(options, catalogue.get(), out, err);
    if (options.create) return Create(options, out, err);
    return Apply(options, catalogue.get(), out, err);
}

}  // namespace kestro::cli
