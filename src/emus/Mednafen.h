#pragma once
// Mednafen, the Virtual Boy emulator Linux users run: its Virtual Boy
// settings with their values, where it keeps its files, where its program
// is, and a run. A game's settings live in Mednafen's own per-game file for
// that ROM, never on the command line, so that Mednafen never copies them
// into its global mednafen.cfg when it exits.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"
#include "base/SettingsStore.h"
#include "emus/EmulatorRun.h"
#include "emus/MednafenConfig.h"

namespace kestro::emus {

enum class MednafenKind {
    Choice,  ///< one word of a list
    Flag,    ///< 0 or 1
    Colour,  ///< 0xRRGGBB
    Whole,   ///< a whole number in a range
    Real,    ///< a number with a fraction, written with six decimals
};

struct MednafenChoice {
    std::string_view value;    ///< Mednafen's word ("sidebyside")
    std::string_view caption;  ///< shown in the window ("Side by side")
};

/// One Mednafen setting the front-end keeps per game.
struct MednafenSetting {
    std::string_view key;  ///< "vb.3dmode"
    MednafenKind kind;
    std::string_view defaultValue;  ///< Mednafen's own default, as Mednafen writes it
    std::string_view name;          ///< control name after its prefix ("3DMode": cmb3DMode)
    std::string_view caption;
    std::string_view help;  ///< one or two sentences for the tool tip and the help text
    std::span<const MednafenChoice> choices{};
    double low = 0;
    double high = 0;
    /// Not shown on its own: written with this other setting's value (the Y scale follows the X scale).
    std::string_view sameAs{};
};

/// The settings, in the window's order.
std::span<const MednafenSetting> MednafenSettings();
const MednafenSetting& MednafenSettingOf(std::string_view key);

namespace mednafen_keys {
inline constexpr std::string_view k3DMode = "vb.3dmode";
inline constexpr std::string_view kPreset = "vb.anaglyph.preset";
inline constexpr std::string_view kLeftColour = "vb.anaglyph.lcolor";
inline constexpr std::string_view kRightColour = "vb.anaglyph.rcolor";
inline constexpr std::string_view kDefaultColour = "vb.default_color";
inline constexpr std::string_view kSeparation = "vb.sidebyside.separation";
}  // namespace mednafen_keys

/// A colour as Mednafen writes one: "0x" and six lower-case hex digits.
std::string MednafenColourText(std::uint32_t rgb);
/// "0xRRGGBB" in either case, or a decimal number, up to 0xFFFFFF.
std::optional<std::uint32_t> ParseMednafenColour(std::string_view text);
/// A real as Mednafen writes one: six decimals ("2.000000").
std::string MednafenRealText(double value);

/// The value in the form we write it, when the text is one the setting
/// takes (a choice of its list, 0/1, a number in its range); else nothing.
std::optional<std::string> NormalisedMednafenValue(const MednafenSetting& setting, std::string_view text);

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
