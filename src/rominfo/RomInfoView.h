// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fields the ROM information window shows for an open ROM, gathered in
// one place for the command line's report.

#include <optional>
#include <string>

#include "rom/Identification.h"
#include "rom/RomImage.h"

namespace kestro::rominfo {

/// The window's fields for an open ROM. Texts are byte strings as the header
/// holds them; the reading is single-byte Latin-1.
struct RomInfoView {
    std::string title;                                  ///< title label (trailing spaces removed)
    std::string reading;                                ///< romaji reading of the title
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
