// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop program's own arguments: one ROM file to open (what a file
// manager's "Open with" passes), or --help / --version for the terminal.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kestro::app {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string romFile;         ///< empty when none was given
    std::string error;           ///< why the arguments were refused
    bool unknownOption = false;  ///< refused for an option that may be Qt's own
};

/// Reads the arguments after the program name. --help and --version win
/// over anything else, so they answer even beside arguments meant for Qt.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

/// True when the answer cannot depend on Qt's own options (-platform, -style,
/// ...), so it can be given before Qt starts and needs no display.
bool AnswerBeforeQt(const CommandLine& commandLine);

/// The text --help prints.
std::string CommandLineHelp();
/// The text --version prints.
std::string CommandLineVersion();

/// Exit status for arguments the program cannot use.
inline constexpr int kExitUsage = 2;

/// Prints what help, version or a refusal asks for and gives the exit
/// status; nothing when the program should start.
std::optional<int> AnswerOnTerminal(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

}  // namespace kestro::app
