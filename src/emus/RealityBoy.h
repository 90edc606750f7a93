// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Reality Boy front-end's core: its option tables, the seven stored
// options, the palette rule, numeric entry and the command line.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/SettingsStore.h"
#include "emus/EmulatorRun.h"

namespace kestro::emus {

/// One option button of a group: its caption and the command-line text it
/// adds (each begins with a blank).
struct RealityBoyChoice {
    std::string_view caption;
    std::string_view option;
};

inline constexpr std::array<RealityBoyChoice, 7> kRealityBoyDisplayModes{{
    {"Normal (No 3D Effects)", " -dspmode normal"},
    {"Red/Blue (Standard 3D Glasses)", " -dspmode red_blue"},
    {"Red/Green (Alt. R/B Glasses)", " -dspmode red_blue"},
    {"Interlace (Shutter Glasses)", " -dspmode interlace"},
    {"Over/Under (Quality 3D Glasses)", " -dspmode over_under"},
    {"Side By Side (Frenzel Lens)", " -dspmode side"},
    {"Vertically Mirrored (CyberScope)", " -dspmode cscope"},
}};

inline constexpr std::array<RealityBoyChoice, 7> kRealityBoyResolutions{{
    {"320x200", " -display 320"},
    {"640x480", " -display 640"},
    {"640x480 (VESA 2)", " -display 640v2"},
    {"800x600", " -display 800"},
    {"800x600 (VESA 2)", " -display 800v2"},
    {"1024x768", " -display 1024"},
    {"1024x768 (VESA 2)", " -display 1024v2"},
}};

inline constexpr std::array<RealityBoyChoice, 5> kRealityBoyPalettes{{
    {"Grayscale", " -pallet normal"},
    {"Redscale (VB Colors)", " -pallet red"},
    {"Red/Blue", " -pallet rb"},
    {"Red/Green", " -pallet rg"},
    {"Red/Cyan", " -pallet rbg"},
}};

inline constexpr int kRealityBoyMaxFrameSkip = 9;
inline constexpr int kRealityBoyMaxBrightness = 127;

/// The program tried first, and the one used when it is absent.
inline constexpr std::string_view kRealityBoyProgram = "RBOY";
inline constexpr std::string_view kRealityBoyFallbackProgram = "VB_98";

/// The palette buttons a display mode leaves usable, and the palette then selected.
struct PaletteRule {
    std::array<bool, kRealityBoyPalettes.size()> enabled{};
    int palette = 0;
};
/// What selecting display mode `mode` does to the palettes while `palette`
/// is selected: Red/Green glasses select Red/Green; the 3D glasses modes allow
/// only the coloured palettes, the others only grey and red.
PaletteRule ApplyDisplayMode(int mode, int palette);

/// The seven options the window stores ("Reality Boy ..." keys).
struct RealityBoyOptions {
    int displayMode = 0;
    int resolution = 1;
    int palette = 0;
    int frameSkip = 0;
    int brightness = 64;
    bool ignorePalette = false;
    bool flip = false;
    friend bool operator==(const RealityBoyOptions&, const RealityBoyOptions&) = default;
};

/// The stored options, each brought into its range (an index beyond its
/// group, a frame skip above 9 or a brightness above 127 is clamped).
RealityBoyOptions ReadRealityBoyOptions(const base::SettingsStore& store);
/// The options as an opened window shows them: the display mode's palette
/// rule applied to the stored palette.
RealityBoyOptions AsShown(RealityBoyOptions options);
/// SaveRegistry: the seven keys in their designed order.
void SaveRealityBoyOptions(base::SettingsStore& store, const RealityBoyOptions& options);

/// A numeric entry box after its text changed.
struct NumericEntry {
    std::string text;     ///< what the box shows now
    int scrollValue = 0;  ///< where its scroll bar goes
};
/// The box's rule: a non-empty text becomes the decimal text of its leading
/// number, held within 0 and the bound; an empty text stays empty with the
/// scroll bar at 0.
NumericEntry NormaliseEntry(std::string_view text, int upperBound);

/// The program name a run starts: RBOY when RBOY.EXE is in the
/// directory (in any letter case), else VB_98, which is not looked for.
std::string RealityBoyProgramName(const std::string& directory);

/// The run the window's run buttons make: the designed command line (the
/// directory and ROM in their short form, the options in their order,
/// " -debug" in debug mode before " -fixpal") and the program with its
/// arguments as a list. The working directory stays ours.
PreparedRun RealityBoyRun(const std::string& directory, const std::string& rom, const RealityBoyOptions& options,
                          bool debug);

/// A run as the window's button makes it with the saved settings and a ROM
/// given by path: refused without a ROM ("Select ROM") or with one that fails
/// its checks.
PreparedRun PrepareRealityBoyPlay(const base::SettingsStore& settings, const std::optional<std::string>& rom,
                                  bool debug);

/// The window's help text (topic "Reality Boy").
std::string RealityBoyHelpText();

}  // namespace kestro::emus
