// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thirteen maker codes the program knows, with the name the ROM
// information window lists and the name the collection reports print.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestro::rom {

struct Maker {
    std::string_view code;        ///< two characters, compared exactly
    std::string_view listName;    ///< "Nintendo", the maker list's entry
    std::string_view reportName;  ///< " (Nintendo)", with its leading space and parentheses
};

/// In the order of the ROM information window's maker list.
inline constexpr std::array<Maker, 13> kMakers{{
    {"01", "Nintendo", " (Nintendo)"},
    {"0B", "Coconuts", " (Coconuts)"},
    {"18", "Hudson Soft", " (Hudson Soft)"},
    {"28", "Kemco Japan", " (Kemco Japan)"},
    {"67", "Ocean", " (Ocean)"},
    {"7F", "Kemco America", " (Kemco America)"},
    {"8B", "Bullet-Proof Software", " (Bullet-Proof S/W)"},
    {"8F", "I'Max", " (I'Max)"},
    {"99", "T*HQ", " (T*HQ)"},
    {"E4", "T&E Soft", " (T&E Soft)"},
    {"EB", "Atlus", " (Atlus)"},
    {"DB", "Reality Boy / Brannock", " (Reality Boy)"},
    {"VE", "Virtual-E / Ostrander", " (Virtual-E)"},
}};

/// Report name of a code not in the table.
inline constexpr std::string_view kUnknownMakerReportName = " (UNKNOWN MANU ID)";

/// Index of the first maker whose code equals the text exactly (case-sensitive,
/// after trailing spaces are removed); nothing when no code matches.
std::optional<int> FindMaker(std::string_view code);

/// The code of the maker at a list index; empty for an index outside the list.
std::string MakerCode(int index);

/// The maker list's name for a code, or nothing when the code is unknown.
std::optional<std::string> MakerListName(std::string_view code);

/// The report name for a code, " (UNKNOWN MANU ID)" when unknown.
std::string MakerReportName(std::string_view code);

}  // namespace kestro::rom
