#pragma once
// What the ROM information window shows for an open ROM, built in the core
// so that the window and the command line show the same texts.

#include <optional>
#include <string>
#include <string_view>

#include "rom/Identification.h"
#include "rom/RomImage.h"

namespace kestro::rominfo {

/// The caption while no ROM is open.
inline constexpr std::string_view kNoRomCaption = "ROM Information - [No ROM Loaded]";

/// "ROM Information - [" + the title's reading + "]".
std::string WindowCaption(std::string_view title);

/// The title label's tooltip: the reading when it differs from the title, else the title.
std::string TitleTooltip(std::string_view title);

/// The window's fields for an open ROM. Texts are byte strings as the header
/// holds them; the reading is single-byte Latin-1.
struct RomInfoView {
    std::string title;                                  ///< title label (trailing spaces removed)
    std::string reading;                                ///< romaji reading of the title
    std::string caption;                                ///< window caption
    std::string makerCode;                              ///< maker box
    std::optional<int> makerIndex;                      ///< maker list entry selected, none for an unknown code
    std::string gameCode;                               ///< game code box
    int version = 0;                                    ///< version list index
    std::string versionText;                            ///< that entry's text, "1.0" ... "1.255"
    std::string sizeText;                               ///< size label
    std::optional<rom::Identification> identification;  ///< taken when identification is on
};

/// Fills the view from an accepted image; identify takes both checksums and
/// looks them up, as the window does when "Auto Detect ROM" is on.
RomInfoView DescribeRom(const rom::RomImage& image, bool identify);

}  // namespace kestro::rominfo
