// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every key of the settings store, declared once with its kind and default.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsStore.h"

namespace kestro::base {

inline constexpr std::string_view kSettingsApplication = "Kestro Utils";
inline constexpr std::string_view kSettingsSection = "Settings";

enum class SettingKind {
    Text,       ///< stored as it is
    Directory,  ///< text; the default "C:\" stands for the platform's default directory
    YesNo,      ///< "True" / "False"
    Whole,      ///< 16-bit signed decimal text
    CheckBox,   ///< 0 or 1
};

struct SettingKey {
    std::string_view key;
    SettingKind kind;
    std::string_view defaultText;
    /// Whole numbers and check boxes: the values the program can use. A
    /// stored number outside them reads as the nearest one.
    int low = -32768;
    int high = 32767;
};

/// The outside programs: the six with a directory setting, in the order the
/// settings list them, then Mednafen, which has a program path of its own.
enum class Program { RealityBoy, VirtualE, RedDragon, VeCCompiler, VEnvironment, VbDevKit, Mednafen };
/// The programs with a directory setting (keys::Programs); Mednafen is not one.
inline constexpr int kProgramCount = 6;

namespace keys {
using K = SettingKind;
inline constexpr SettingKey VersionNumber{"Version Number", K::Text, "1.0"};
inline constexpr SettingKey MainMenuTheme{"VB Main Menu Theme", K::YesNo, "False"};
inline constexpr SettingKey ThemeColours{"VB Theme Colours", K::YesNo, "False"};
inline constexpr SettingKey BaseDirectory{"Base Directory", K::Directory, "C:\\"};
inline constexpr SettingKey AutoDetectRom{"Auto Detect ROM", K::YesNo, "False"};
inline constexpr SettingKey RecentRomsNumber{"Recent ROMs number", K::Whole, "4", 0, 10};
inline constexpr std::array<SettingKey, 10> RecentRom{{
    {"Recent ROM #1", K::Text, ""},
    {"Recent ROM #2", K::Text, ""},
    {"Recent ROM #3", K::Text, ""},
    {"Recent ROM #4", K::Text, ""},
    {"Recent ROM #5", K::Text, ""},
    {"Recent ROM #6", K::Text, ""},
    {"Recent ROM #7", K::Text, ""},
    {"Recent ROM #8", K::Text, ""},
    {"Recent ROM #9", K::Text, ""},
    {"Recent ROM #10", K::Text, ""},
}};
inline constexpr SettingKey TileDisplayMode{"Tile Display Mode", K::Whole, "0", 0, 1};
inline constexpr SettingKey AutoUpdateViewer{"AutoUpdate Viewer", K::YesNo, "False"};

/// The four tile colours, lightest first, each red, green, blue.
inline constexpr std::array<std::array<SettingKey, 3>, 4> TileColour{{
    {{{"White Tile Red", K::Whole, "255", 0, 255},
      {"White Tile Green", K::Whole, "0", 0, 255},
      {"White Tile Blue", K::Whole, "0", 0, 255}}},
    {{{"L Grey Tile Red", K::Whole, "192", 0, 255},
      {"L Grey Tile Green", K::Whole, "0", 0, 255},
      {"L Grey Tile Blue", K::Whole, "0", 0, 255}}},
    {{{"D Grey Tile Red", K::Whole, "128", 0, 255},
      {"D Grey Tile Green", K::Whole, "0", 0, 255},
      {"D Grey Tile Blue", K::Whole, "0", 0, 255}}},
    {{{"Black Tile Red", K::Whole, "64", 0, 255},
      {"Black Tile Green", K::Whole, "0", 0, 255},
      {"Black Tile Blue", K::Whole, "0", 0, 255}}},
}};

struct ProgramKeys {
    SettingKey enabled;
    SettingKey directory;
};
inline constexpr std::array<ProgramKeys, kProgramCount> Programs{{
    {{"Reality Boy Enabled", K::YesNo, "False"}, {"Reality Boy Directory", K::Directory, "C:\\"}},
    {{"Virtual-E Enabled", K::YesNo, "False"}, {"Virtual-E Directory", K::Directory, "C:\\"}},
    {{"Red Dragon Enabled", K::YesNo, "False"}, {"Red Dragon Directory", K::Directory, "C:\\"}},
    {{"V-E C Compiler Enabled", K::YesNo, "False"}, {"V-E C Compiler Directory", K::Directory, "C:\\"}},
    {{"V-Environment Enabled", K::YesNo, "False"}, {"V-Environment Directory", K::Directory, "C:\\"}},
    {{"VB Dev Kit Enabled", K::YesNo, "False"}, {"VB Dev Kit Directory", K::Directory, "C:\\"}},
}};

inline constexpr SettingKey DetailedRomLists{"Detailed ROM Lists", K::CheckBox, "0", 0, 1};
inline constexpr SettingKey RenameRoms{"Rename ROMs", K::CheckBox, "0", 0, 1};
inline constexpr SettingKey MoveRoms{"Move ROMs", K::CheckBox, "0", 0, 1};
inline constexpr SettingKey CreateChangeLog{"Create Change Log", K::CheckBox, "0", 0, 1};
/// Beyond the designed keys (so not in AllSettingKeys: start-up neither
/// writes nor repairs it): the DAT file the collection database identifies
/// against, empty for the built-in table.
inline constexpr SettingKey CollectionDatFile{"Collection DAT File", K::Text, ""};
/// Beyond the designed keys too: the zoom the tile viewer opened with last.
inline constexpr SettingKey TileViewerZoom{"Tile Viewer Zoom", K::Whole, "1", 1, 4};

inline constexpr SettingKey RealityBoyDisplayMode{"Reality Boy Display Mode", K::Whole, "0", 0, 6};
inline constexpr SettingKey RealityBoyResolution{"Reality Boy Resolution", K::Whole, "1", 0, 6};
inline constexpr SettingKey RealityBoyPalette{"Reality Boy Palette", K::Whole, "0", 0, 4};
inline constexpr SettingKey RealityBoyFrameSkip{"Reality Boy Frame Skip", K::Whole, "0", 0, 9};
inline constexpr SettingKey RealityBoyBrightness{"Reality Boy Brightness", K::Whole, "64", 0, 127};
inline constexpr SettingKey RealityBoyIgnorePalette{"Reality Boy Ignore Palette", K::YesNo, "False"};
inline constexpr SettingKey RealityBoyFlip3D{"Reality Boy Flip 3D Effects", K::YesNo, "False"};

// Keys of our own beyond the designed set: the Mednafen front-end's switch
// and program. An empty program is looked for on PATH, then in /usr/games.
// The game settings live in Mednafen's own per-game files, not here.
inline constexpr SettingKey MednafenEnabled{"Mednafen Enabled", K::YesNo, "False"};
inline constexpr SettingKey MednafenProgram{"Mednafen Program", K::Text, ""};
}  // namespace keys

/// The platform's stand-in for the design's default directory "C:\": the
/// user's home directory (with a trailing separator) on Linux.
std::string DefaultDirectory();

/// The default of a key as the program uses it (directories resolved).
std::string DefaultText(const SettingKey& key);

/// Text forms of the three value kinds.
std::string YesNoText(bool value);
std::string WholeText(int value);

/// Parses "True"/"False" (any case) or a decimal number (0 is false).
/// Text that is neither gives the fallback.
bool ParseYesNo(std::string_view text, bool fallback);
/// Parses a 16-bit signed decimal number; anything else gives the fallback.
int ParseWhole(std::string_view text, int fallback);

/// Typed reads with the key's own default; a stored value that does not
/// parse as its kind reads as the default, and a number outside the key's
/// range as the nearest end of it.
std::string ReadText(const SettingsStore& store, const SettingKey& key);
bool ReadYesNo(const SettingsStore& store, const SettingKey& key);
int ReadWhole(const SettingsStore& store, const SettingKey& key);

/// Every key the program keeps, in the order of the table.
std::vector<SettingKey> AllSettingKeys();

/// A key as the user's documentation gives it: what it means, in a few words.
struct SettingDescription {
    SettingKey key;
    std::string_view meaning;
};

/// Every key the settings file may hold (AllSettingKeys and the DAT file's),
/// with its meaning; a key without one has an empty meaning.
std::vector<SettingDescription> DescribedSettingKeys();

/// Rewrites every stored value that does not read back as itself (a number
/// out of range, a word that is no yes/no) as the value the program reads
/// from it, so that a repair is made once and kept. Keys not stored stay
/// absent. Returns the keys rewritten.
std::vector<std::string> RepairSettings(SettingsStore& store);

void WriteText(SettingsStore& store, const SettingKey& key, const std::string& value);
void WriteYesNo(SettingsStore& store, const SettingKey& key, bool value);
void WriteWhole(SettingsStore& store, const SettingKey& key, int value);

}  // namespace kestro::base
