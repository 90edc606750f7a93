// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

namespace kestro::app {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && (arg == "-h" || arg == "--help")) return {CommandLine::Action::Help, {}, {}};
        if (!optionsEnded && arg == "--version") return {CommandLine::Action::Version, {}, {}};
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (result.action == CommandLine::Action::Error) continue;
        // A lone "-" is no file either: the program reads no ROM from a pipe.
        if (!optionsEnded && !arg.empty() && arg[0] == '-') {
            result = {CommandLine::Action::Error, {}, "unknown option '" + arg + "'", true};
        } else if (arg.empty()) {
            result = {CommandLine::Action::Error, {}, "empty file name"};
        } else if (!result.romFile.empty()) {
            result = {CommandLine::Action::Error, {}, "only one ROM file can be opened at a time"};
        } else {
            result.romFile = arg;
        }
    }
    return result;
}

bool AnswerBeforeQt(const CommandLine& commandLine) {
    return commandLine.action != CommandLine::Action::Run && !commandLine.unknownOption;
}

std::string CommandLineHelp() {
    return "Usage: kestro-utils [FILE.vb]\n"
           "Kestro Utilities: Nintendo Virtual Boy ROM image utilities.\n"
           "\n"
           "With FILE, the ROM information window opens on that ROM image once the\n"
           "program has started.\n"
           "\n"
           "Options:\n"
           "  -h, --help     Print this help and exit\n"
           "  --version      Print the version and exit\n"
           "\n"
           "Qt's own options (-platform, -style, ...) are accepted as well.\n"
           "For batch work on the terminal, see kestro --help.\n";
}

std::string CommandLineVersion() {
    return std::string("kestro-utils ") + KESTRO_VERSION + "\n";
}

std::optional<int> AnswerOnTerminal(const CommandLine& commandLine, std::ostream& out, std::ostream& err) {
    switch (commandLine.action) {
        case CommandLine::Action::Run: return std::nullopt;
        case CommandLine::Action::Help: out << CommandLineHelp(); return 0;
        case CommandLine::Action::Version: out << CommandLineVersion(); return 0;
        case CommandLine::Action::Error: break;
    }
    err << "kestro-utils: " << commandLine.error << "\nRun 'kestro-utils --help' for usage.\n";
    return kExitUsage;
}

}  // namespace kestro::app
