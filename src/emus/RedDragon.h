// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Red Dragon front-end's core: its lists, what its controls hold (the
// form), how the options file fills them and they fill it, and the run.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsStore.h"
#include "emus/EmulatorRun.h"
#include "emus/RedDragonOptions.h"

namespace kestro::emus {

inline constexpr std::array<std::string_view, 2> kRedDragonVersions{"Win", "DOS"};
inline constexpr std::array<std::string_view, 6> kRedDragonDisplayModes{"Normal",       "Red / Blue",   "Interlaced",
                                                                        "Over / Under", "Side by Side", "CyberScope"};
inline constexpr std::array<std::string_view, 5> kRedDragonPalettes{"Normal", "Red", "Red & Blue", "Red & Green",
                                                                    "Red, Blue, Green"};
inline constexpr std::array<std::string_view, 5> kRedDragonColourDepths{"  8 bpp (256 colors)", " 15 bpp (32K colors)",
                                                                        " 16 bpp (64K colors)", " 24 bpp (16M colors)",
                                                                        " 32 bpp (16M colors)"};
inline constexpr std::array<std::string_view, 2> kRedDragonBrightnessHack{"Off", "On"};
inline constexpr int kRedDragonMaxFrameSkip = 9;

/// Which sizes a screen mode offers.
enum class ScreenSizeList { General, DirectDraw, GeneralAndGdi };

struct RedDragonScreenMode {
    std::string_view name;  ///< the list entry, two of them cut short as designed
    int code;               ///< what "scrmode=" holds
    ScreenSizeList sizes;
};

inline constexpr std::array<RedDragonScreenMode, 9> kRedDragonScreenModes{{
    {"Autodetect", 0, ScreenSizeList::General},
    {"Auto fullscreen", 1, ScreenSizeList::General},
    {"Auto windowed", 2, ScreenSizeList::General},
    {"DirectDraw accel", 4, ScreenSizeList::DirectDraw},
    {"DirectDraw soft", 6, ScreenSizeList::DirectDraw},
    {"DirectDraw safe", 7, ScreenSizeList::DirectDraw},
    {"DirectDraw window", 8, ScreenSizeList::General},
    {"DirectDraw overla", 9, ScreenSizeList::General},
    {"GDI", 10, ScreenSizeList::GeneralAndGdi},
}};

inline constexpr std::array<std::string_view, 32> kGeneralScreenSizes{
    " 320x200", " 320x240", " 640x400", " 640x480", " 800x600", "1024x768", "1280x1024", "1600x1200",
    "  80x80",  " 160x120", " 256x200", " 256x224", " 256x240", " 256x256", " 320x100",  " 320x350",
    " 320x400", " 320x480", " 320x600", " 360x200", " 360x240", " 360x270", " 360x360",  " 360x400",
    " 360x480", " 360x600", " 376x282", " 376x308", " 376x564", " 400x150", " 400x300",  " 400x600"};
inline constexpr std::array<std::string_view, 10> kDirectDrawScreenSizes{" 320x200", " 320x240", " 400x300", " 512x384",
                                                                         " 640x400", " 640x480", " 720x480", " 720x576",
                                                                         " 800x600", "1024x768"};
inline constexpr std::string_view kGdiScreenSize = " 384x224";
inline constexpr std::string_view kDefaultScreenSize = " 640x480";

/// The program, in Red Dragon's directory.
inline constexpr std::string_view kRedDragonProgram = "RDRAGON";

/// The sizes screen mode `index` offers (none for an index outside the list).
std::vector<std::string> ScreenSizesFor(int index);
/// The screen-mode entry a stored code selects, if any. Codes 1 and 2, though
/// "Auto fullscreen" and "Auto windowed" write them, select none, as 3, 5 and
/// others do: the next run then writes 0 unless the user picks a mode.
std::optional<int> ScreenModeForCode(int code);
/// " 640x480": the width right-aligned in four characters, "x", the height.
std::string ScreenSizeText(int width, int height);
/// The width a size entry writes: the number in its first four characters.
int ScreenWidthOf(std::string_view entry);
/// The height: the number after the entry's fifth character.
int ScreenHeightOf(std::string_view entry);

/// What the window's controls hold; indexes are list rows, -1 for none.
struct RedDragonForm {
    int screenMode = -1;
    std::vector<std::string> sizes;  ///< the entries of the size list
    int screenSize = -1;
    int colourDepth = 0;
    int frameSkip = 0;
    int displayMode = 0;
    int brightnessHack = 0;
    int palette = 0;
    bool swap3D = false;
    int version = 0;
    friend bool operator==(const RedDragonForm&, const RedDragonForm&) = default;
};

/// Choosing a screen mode: a different mode fills the size list with its sizes.
void SelectScreenMode(RedDragonForm& form, int index);
/// Selects the size entry of that text; false when there is none.
bool SelectScreenSize(RedDragonForm& form, std::string_view text);
/// Revert to Default: Autodetect, " 640x480", and every other control 0.
void RevertToDefault(RedDragonForm& form);
/// The values read put into the controls: the screen mode by its code, the
/// size by its text (appended as a new last entry when the list lacks it and
/// appendMissing is set, as on opening; Revert Settings adds none), the
/// others clamped into their lists.
void ShowOptions(RedDragonForm& form, const RedDragonOptions& options, bool appendMissing);
/// The controls of a freshly opened window after reading the file (nothing
/// when there is none: the defaults, then a size of 0 x 0).
RedDragonForm OpenedForm(const std::optional<RedDragonOptions>& read);
/// What the run writes: the controls and the key codes.
RedDragonOptions OptionsFromForm(const RedDragonForm& form, const RedDragonKeys& keys);

/// The run: the options file written with these values, then RDRAGON started
/// in Red Dragon's directory, on the ROM when one is given.
PreparedRun RedDragonRun(const std::string& directory, const std::optional<std::string>& rom,
                         const RedDragonOptions& options);

/// A run as a freshly opened window's button makes it: the options file read
/// and written back, the ROM (if any) checked first.
PreparedRun PrepareRedDragonPlay(const base::SettingsStore& settings, const std::optional<std::string>& rom);

/// The window's help text (topic "Red Dragon").
std::string RedDragonHelpText();

}  // namespace kestro::emus
