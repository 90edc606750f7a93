// SPDX-License-Identifier: GPL-3.0-or-later
#include <ostream>

#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "romdb/Listing.h"

namespace kestro::cli {

namespace {

// A file named against a DAT: its game, or the unknown status, and the hashes that decided it.
struct DatIdentification {
    std::string name;
    romdb::FileHashes hashes;
};

DatIdentification IdentifyAgainst(const romdb::Catalogue& catalogue, const std::vector<std::uint8_t>& data,
                                  romdb::HashRun& run) {
    run.Start(catalogue.Needs());
    run.Update(data.data(), data.size());
    DatIdentification id;
    id.hashes = run.Finish();
    const auto game = catalogue.Match(static_cast<std::int64_t>(data.size()), id.hashes);
    id.name = game ? catalogue.Names()[*game] : romdb::kUnknownRom;
    return id;
}

}  // namespace

int InfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Shows each ROM image's header and identification as the ROM information window shows them with "
        "automatic identification on. Exit status 0 when every file was accepted, 1 when any was refused.",
        "kestro info"};
    bool json = false;
    std::vector<std::string> files;
    std::string datPath;
    command.add_flag("--json", json, "Write a JSON array with one object per file");
    command
        .add_option("--dat", datPath,
                    "Also name each file by its content against this DAT file (Logiqx XML or clrmamepro)")
        ->type_name("FILE");
    command.add_option("FILE", files, "ROM image files (.vb)")->required();
    if (auto status = ParseCommand(command, args, out, err)) return *status;
    std::shared_ptr<const romdb::Catalogue> catalogue;
    if (!datPath.empty()) {
        if (auto status = ReadDatOption(datPath, "kestro info", err, catalogue)) return *status;
    }
    romdb::HashRun hashRun;

    bool allAccepted = true;
    auto report = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < files.size(); ++i) {
        // Only what could be a Virtual Boy ROM is read: a huge file is refused unread.
        const auto opened = rom::OpenRom(files[i], rom::kLargestVbRom);
        allAccepted = allAccepted && opened.Accepted();
        std::optional<DatIdentification> dat;
        if (catalogue && opened.Accepted()) dat = IdentifyAgainst(*catalogue, opened.image.data, hashRun);
        if (json) {
            auto file = RomJson(files[i], opened);
            if (dat) {
                file["dat"] = {{"identification", dat->name}};
                file["dat"].update(HashesJson(dat->hashes));
            }
            report.push_back(std::move(file));
        } else {
            if (i > 0) out << '\n';
            PrintRom(out, files[i], opened);
            if (dat) {
                out << "  DAT:              " << dat->name << '\n'
                    << "  CRC32:            " << romdb::CrcText(dat->hashes.crc) << '\n';
                if (!dat->hashes.sha1.empty()) out << "  SHA-1:            " << dat->hashes.sha1 << '\n';
                if (!dat->hashes.md5.empty()) out << "  MD5:              " << dat->hashes.md5 << '\n';
            }
        }
    }
    if (json) out << JsonText(report) << '\n';
    return allAccepted ? kExitOk : kExitRefused;
}

}  // namespace kestro::cli
