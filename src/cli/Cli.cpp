// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <array>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "base/Registry.h"

namespace kestro::cli {

namespace {

struct Command {
    std::string_view name;
    std::string_view summary;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

constexpr std::array<Command, 7> kCommands{{
    {"info", "Show ROM images' headers and identification (text or --json)", &InfoCommand},
    {"romaji", "Print the romaji reading of a title", &RomajiCommand},
    {"header", "Change a ROM image's header and save it", &HeaderCommand},
    {"tiles", "Write a ROM's tiles as a bitmap or indexed PNG, or import an edited PNG", &TilesCommand},
    {"patch", "Apply, create or describe IPS, BPS and UPS patches, the base ROM checked", &PatchCommand},
    {"scan", "Identify a directory of ROMs, report, rename and move them", &ScanCommand},
    {"play", "Start an emulator as its front-end does, with the saved options:", &PlayCommand},
}};

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // Registry errors name the program they come from.
    const std::string program = args.empty() ? std::string() : std::filesystem::path(args[0]).stem().string();
    base::cRegistry::SetExecutableName(program.empty() ? "kestro" : program);
    // A command parses its own arguments, so that "kestro info --help" is its own help.
    if (args.size() >= 2) {
        for (const Command& command : kCommands) {
            if (args[1] == command.name) return command.run({args.begin() + 2, args.end()}, out, err);
        }
    }

    CLI::App app{"kestro: batch tools for Nintendo Virtual Boy ROM images (.vb)", "kestro"};
    app.set_version_flag("--version", std::string("kestro ") + KESTRO_VERSION);
    app.require_subcommand(0, 1);
    for (const Command& command : kCommands) {
        // play's emulators are named from its own list, so the summary keeps up with it.
        std::string summary(command.summary);
        if (command.run == &PlayCommand) summary += " " + PlayEmulatorList();
        app.add_subcommand(std::string(command.name), summary);
    }
    app.footer("Run 'kestro COMMAND --help' for a command's options.");

    std::vector<std::string> argv(args.rbegin(), args.rend());
    if (!argv.empty()) argv.pop_back();  // the program name
    try {
        app.parse(argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "kestro: " << e.what() << '\n' << "Run 'kestro --help' for usage.\n";
        return kExitUsage;
    }
    out << app.help();
    return kExitOk;
}

}  // namespace kestro::cli
