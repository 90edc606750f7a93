// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mednafen, the Virtual Boy emulator Linux users run: where it keeps its
// files, where its program is, one game's settings as Mednafen reads them,
// and a run. A game's settings live in Mednafen's own per-game file for
// that ROM, never on the command line, so that Mednafen never copies them
// into its global mednafen.cfg when it exits.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"
#include "base/SettingsStore.h"
#include "emus/EmulatorRun.h"
#include "emus/MednafenConfig.h"
#include "emus/MednafenSettings.h"

namespace kestro::emus {

/// Where Mednafen finds its files and where its program is looked for.
struct MednafenEnvironment {
    std::string mednafenHome;  ///< $MEDNAFEN_HOME
    std::string home;          ///< $HOME, else the password file's
    std::string searchPath;    ///< $PATH
    std::string fallbackDirectory = "/usr/games";
};
MednafenEnvironment CurrentMednafenEnvironment();

/// Mednafen's base directory: $MEDNAFEN_HOME, else ~/.mednafen.
std::string MednafenBaseDirectory(const MednafenEnvironment& environment);

/// The program: the configured path (a file, or a directory holding
/// "mednafen", or a bare name looked for on PATH); when none is configured,
/// "mednafen" on PATH, then in /usr/games. Nothing when there is none.
std::optional<std::string> FindMednafen(const std::string& configured, const MednafenEnvironment& environment);

/// The two lines that say where the program was looked for, for the "Emulator not found" messages.
std::vector<std::string> MednafenMissingLines(const std::string& configured, const MednafenEnvironment& environment);

/// The name Mednafen gives a ROM's per-game file: the file name without its
/// extension, then ".vb.cfg" ("My Game.vb" has "My Game.vb.cfg").
std::string PerGameFileName(const std::string& rom);

/// One game's settings as Mednafen will read them.
struct MednafenGame {
    std::string rom;
    std::string configPath;                 ///< the per-game file
    std::optional<std::string> configText;  ///< the file as it stands; nothing when there is none
    MednafenValues own;                     ///< what the file sets (our settings, values Mednafen takes)
    MednafenValues inherited;               ///< what applies without it: vb.cfg, mednafen.cfg, Mednafen's defaults
    /// Every setting: the game's own value, else the inherited one.
    MednafenValues Effective() const;
};

/// Reads the game's file and the files it overrides (read only). The
/// per-game directory is filesys.path_pgconfig of mednafen.cfg, under the
/// base directory when relative ("pgconfig" by default).
MednafenGame LoadMednafenGame(const std::string& rom, const MednafenEnvironment& environment);

/// The game's file holding the values shown: a setting that differs from
/// what it inherits, or that the file sets already, gets its line; the
/// others stay out; every other line stays as it was. Nothing when the
/// file would not change.
std::optional<FileToWrite> PerGameFileFor(const MednafenGame& game, const MednafenValues& shown);

/// Revert to Default: the game's file without any line of our settings.
/// Nothing left but blank lines means the file goes.
struct PerGameRemoval {
    bool needed = false;  ///< the file sets one of our settings
    bool removeFile = false;
    std::string text;  ///< the remaining text, when the file stays
};
PerGameRemoval RemoveGameSettings(const MednafenGame& game);

/// Carries a removal out: the file replaced in one step or deleted.
/// Returns the reason when it failed.
std::optional<std::string> ApplyRemoval(const MednafenGame& game, const PerGameRemoval& removal);

/// Mednafen's arguments for a ROM: the ROM alone when its extension tells
/// Mednafen it is a Virtual Boy game (.vb, .vboy), else the module first.
std::vector<std::string> MednafenArguments(const std::string& rom);

/// The run: the game's file written first (when it changes), then Mednafen
/// on the ROM. The command line is what a shell runs as it stands.
PreparedRun MednafenRun(const std::string& program, const std::string& rom, std::optional<FileToWrite> perGameFile);

/// `kestro play mednafen`: the program from the saved settings, the game's
/// file as it stands (read, not written).
PreparedRun PrepareMednafenPlay(const base::SettingsStore& settings, const std::optional<std::string>& rom,
                                const MednafenEnvironment& environment);

/// Revert to Default's question, naming the file.
base::Message RemoveGameSettingsQuestion(const std::string& path);
/// The game's file could not be changed.
base::Message GameSettingsNotSavedMessage(const std::string& path, const std::string& reason);

/// The Mednafen window's help text.
std::string MednafenHelpText();

}  // namespace kestro::emus
