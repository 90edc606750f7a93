#include <ostream>

#include "cli/Cli.h"
#include "cli/CommandSupport.h"

namespace kestro::cli {

int InfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Shows each ROM image's header and identification as the ROM information window shows them with "
        "automatic identification on. Exit status 0 when every file was accepted, 1 when any was refused.",
        "kestro info"};
    bool json = false;
    std::vector<std::string> files;
    command.add_flag("--json", json, "Write a JSON array with one object per file");
    command.add_option("FILE", files, "ROM image files (.vb)")->required();
    if (auto status = ParseCommand(command, args, out, err)) return *status;

    bool allAccepted = true;
    auto report = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto opened = rom::OpenRom(files[i]);
        allAccepted = allAccepted && opened.Accepted();
        if (json) {
            report.push_back(RomJson(files[i], opened));
        } else {
            if (i > 0) out << '\n';
            PrintRom(out, files[i], opened);
        }
    }
    // Paths need not be UTF-8; replace what is not rather than fail.
    if (json) out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return allAccepted ? kExitOk : kExitRefused;
}

}  // namespace kestro::cli
