// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tile viewer and its palette and goto dialogs say: captions built
// from values, messages, file filters, the button table and the help text.

#include <array>
#include <string>
#include <string_view>
#include <variant>

#include "base/Message.h"
#include "tiles/TileNavigation.h"
#include "tiles/TilePalette.h"

namespace kestro::tiles {

inline constexpr std::string_view kRomFilter = "Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*";
inline constexpr std::string_view kBitmapFilter = "OS/2 or Windows Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*";
inline constexpr std::string_view kPngFilter = "PNG Picture (*.png)|*.png|All Files (*.*)|*.*";
inline constexpr std::string_view kPaletteFilter = "Kestro Utils Palette File (*.pvb)|*.pvb|All Files (*.*)|*.*";

inline constexpr std::string_view kNoRomCaption = "ROM Tile Viewer - [No ROM loaded]";
inline constexpr std::string_view kRedrawingCaption = "ROM Tile Viewer - Redrawing...";
inline constexpr std::string_view kHelpTopic = "Tile View";

/// "ROM Tile Viewer - [" + the title's reading + "]".
std::string RomCaption(std::string_view title);

/// Seconds a redraw took by the steady clock, to the millisecond, never below zero.
double ElapsedSeconds(double startSeconds, double nowSeconds);
/// "Update Screen: " + seconds in shortest form + " seconds".
std::string UpdateCaption(double seconds);

/// A navigation button: its name, caption and tooltip, and what it does.
struct NavigationButton {
    std::string_view name;
    std::string_view caption;
    std::string_view tooltip;
    std::variant<ViewStep, GotoWhat> action;
};

/// The fourteen navigation buttons, in the order a redraw disables them.
extern const std::array<NavigationButton, 14> kNavigationButtons;

/// The swatches' tooltips, colour 1 first.
inline constexpr std::array<std::string_view, 4> kSwatchTooltips{"Bright Red", "Light Red", "Dark Red", "Black"};

/// A palette preset button of the loader.
struct PalettePreset {
    std::string_view name;
    std::string_view caption;
    TilePalette palette;
};
inline constexpr std::array<PalettePreset, 2> kPalettePresets{{
    {"cmdRevertRed", "Revert to VB palette", kVbPalette},
    {"cmdRevertGrey", "Revert to grayscale", kGreyPreset},
}};

base::Message CopiedMessage();
base::Message SavedMessage(std::string_view path);
/// The question before a file is replaced.
base::Message ReplaceQuestion(std::string_view path);
/// A file that could not be written, with the reason.
base::Message WriteFailedMessage(std::string_view reason);
/// A view with no whole row of tiles inside the ROM has nothing to export.
base::Message NoWholeRowMessage();
/// A picture that cannot go into the ROM, and why.
base::Message ImportRefusedMessage(std::string_view path, std::string_view reason);
/// Whether colours in no palette entry may take the nearest one (default No).
base::Message NearestQuestion(std::string_view reason);
/// How many tiles and bytes an import changed.
base::Message ImportedMessage(std::string_view changes, bool anyChanged);
base::Message RomSavedMessage(std::string_view path);
/// The name proposed for a ROM with imported tiles: "mario.vb" gives "mario-edited.vb".
std::string EditedRomName(std::string_view fileName);
/// The character code of a key pressed on the drawing surface.
base::Message KeyCodeMessage(int code);

/// Caption and label of the goto dialog for what it edits.
std::string_view GotoCaption(GotoWhat what);
std::string_view GotoLabel(GotoWhat what);

/// The tile viewer's help text, CR LF lines.
std::string TileViewerHelpText();

}  // namespace kestro::tiles
