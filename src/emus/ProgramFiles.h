// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outside programs the options window and the two choosers look for: the
// files that count as each program, the messages when none is there, and
// what choosing one leads to.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"
#include "base/ProcessLauncher.h"
#include "base/SettingsKeys.h"

namespace kestro::emus {

/// One outside program as the options window and the choosers name it.
struct ProgramInfo {
    base::Program program;
    std::string_view name;         ///< the short name in control names ("Rboy": chkRboyEnabled)
    std::string_view entry;        ///< the chooser frame's caption; + " directory:" in the options
    std::string_view tooltip;      ///< the chooser picture's tool tip
    std::string_view art;          ///< the picture's resource name
    std::string_view title;        ///< "Emulator not found" / "Utility not found"
    std::string_view optionsLine;  ///< first line of the options window's message
    std::string_view chooserLine;  ///< first line of the chooser's message
    /// The files that count as the program, the preferred one first.
    std::vector<std::string_view> files;
};

/// The six programs in the settings' order, then Mednafen.
const std::vector<ProgramInfo>& Programs();
const ProgramInfo& InfoOf(base::Program program);

/// The entries of a chooser, in its order.
using ChooserEntries = std::span<const base::Program>;
/// The three emulators and Mednafen beside them, then the three development tools.
inline constexpr std::array<base::Program, 4> kEmulatorEntries{base::Program::RealityBoy, base::Program::VirtualE,
                                                               base::Program::RedDragon, base::Program::Mednafen};
inline constexpr std::array<base::Program, 3> kUtilityEntries{base::Program::VeCCompiler, base::Program::VEnvironment,
                                                              base::Program::VbDevKit};
inline constexpr ChooserEntries kEmulators{kEmulatorEntries};
inline constexpr ChooserEntries kUtilities{kUtilityEntries};

/// A program's two settings, as the choosers read them.
struct ProgramSettings {
    bool enabled = false;
    std::string directory;  ///< Mednafen: its program ("" looks on PATH, then in /usr/games)
};
ProgramSettings ReadProgramSettings(const base::SettingsStore& store, base::Program program);

/// The program's file in the directory, matched without regard to case: the
/// first present in the order of preference (Reality Boy's Rboy.exe before
/// VB_98.exe; the development kit's highest-numbered Vbdk0N.exe, else Vbdk.exe).
/// Mednafen's "directory" is its program setting (see FindMednafen).
std::optional<std::string> FindProgramFile(base::Program program, const std::string& directory);

/// "Change..." found none of the program's files in the chosen directory.
base::Message MissingOnChange(base::Program program, const std::string& directory);
/// Apply found none of an enabled program's files in its directory.
base::Message MissingOnApply(base::Program program, const std::string& directory);
/// A chooser found none of the program's files in its directory.
base::Message MissingInChooser(base::Program program, const std::string& directory);

/// A program whose "Enabled" box in the options is not checked: the desktop
/// program greys it, and a scripted start is refused with this.
base::Message NotEnabledMessage(base::Program program);

/// What choosing an entry in a chooser (or its menu item) leads to.
struct Choice {
    /// False when the program is missing: the message says so and the chooser stays open.
    bool found = false;
    std::string programFile;  ///< the file found, full path
    /// A message to show: the missing program, or the C compiler's "Out of order".
    std::optional<base::Message> message;
    /// The development tool to start, in its own directory.
    std::optional<base::LaunchRequest> start;
};

/// Looks for the program in its directory and says what follows: an emulator
/// opens its front-end (the caller's part), the C compiler is out of order,
/// the other two tools start without arguments in their own directory.
Choice ChooseProgram(base::Program program, const std::string& directory);

/// A development tool that could not be started, in the launcher's words.
base::Message StartFailedMessage(base::Program program, const std::string& error);

}  // namespace kestro::emus
