// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 38 known Virtual Boy dumps: canonical name, the two checksums that
// recognise them, and the header each should carry.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "rom/RomHeader.h"

namespace kestro::rom {

/// One known dump. Checksums are 8 upper-case hex digits; the title is the
/// header's bytes (half-width katakana at 0xA1-0xDF) without its padding. The
/// expected version is 0 ("1.0") for every dump.
struct KnownRom {
    std::string_view name;
    std::string_view columnA;  ///< checksum with the 32 header bytes left out
    std::string_view columnB;  ///< checksum of the whole file
    std::string_view title;
    std::string_view makerCode;
    std::string_view gameCode;
};

// clang-format off
inline constexpr std::array<KnownRom, 38> kKnownRomTable{{
    {"3D Tetris (U) [!]", "05F19DA2", "05F1A395", "POLYGOBLOCK", "01", "VPBE"},
    {"Croach, The (PD)", "04F48110", "04F4B410", "Croach, The", "VE", "V-E"},
    {"Galactic Pinball (JU) [!]", "05958F55", "059595C7", "GALACTIC PINBALL", "01", "VGPJ"},
    {"Golf (U) [!]", "10881B6D", "1088202E", "GOLF", "01", "VVGE"},
    {"Insane Mouse Mansion (J) [!]", "046B02D4", "046B0D66", "\xB2\xDD\xBD\xCF\xB3\xBD \xC9 \xD4\xB6\xC0", "8F", "VIMJ"},
    {"Jack Bros (J) [!]", "064B55F1", "064B5B73", "JACK BROS", "EB", "VJBJ"},
    {"Jack Bros (U) [!]", "066DA940", "066DAEBD", "JACK BROS", "EB", "VJBE"},
    {"Mario Clash (JU) [!]", "0681D85B", "0681DE0F", "MARIO CLASH", "01", "VMCJ"},
    {"Mario Clash (JU) [b1]", "0681D85F", "0681DE13", "MARIO CLASH", "01", "VMCJ"},
    {"Mario's Tennis (JU) [!]", "036CAC82", "036CB407", "Mario's Tennis", "01", "VMTJ"},
    {"Mario's Tennis (JU) [b1]", "036C0084", "036C0809", "Mario's Tennis", "01", "VMTJ"},
    {"Nester's Funky Bowling (U) [!]", "0A16E3E7", "0A16EB0C", "NESTER'S FUNKY BOWLI", "01", "VNFE"},
    {"Nester's Funky Bowling (U) [b1]", "1211F8C4", "1211FFE9", "NESTER'S FUNKY BOWLI", "01", "VNFE"},
    {"Nester's Funky Bowling (U) [b2]", "0A120F56", "0A12167B", "NESTER'S FUNKY BOWLI", "01", "VNFE"},
    {"Panic Bomber (J) [!]", "037A6627", "037A726C", "\xC4\xCB\xDE\xC0\xDE\xBE!\xCA\xDF\xC6\xCE\xDE\xDD", "18", "VH2J"},
    {"Panic Bomber (U) [!]", "037ED1E9", "037ED8C1", "Panic Bomber", "01", "VH2E"},
    {"Panic Bomber (U) [b1]", "037ED36D", "037EDA45", "Panic Bomber", "01", "VH2E"},
    {"Reality Boy Demo 1 (PD)", "0786B94B", "0786C053", "TEST1 By Brannock", "DB", "TST1"},
    {"Reality Boy Demo 2 (PD)", "07F4E3BC", "07F4EAC6", "TEST2 By Brannock", "DB", "TST2"},
    {"Red Alarm (J) [!]", "035A58F3", "035A5E6B", "REDALARM", "E4", "VREJ"},
    {"Red Alarm (U) [!]", "035C3864", "035C3DBF", "REDALARM", "01", "VREE"},
    {"Space Squash (J) [!]", "0A91B713", "0A91BD2C", "SPACE SQUASH", "0B", "VSSJ"},
    {"T&E Virtual Golf (J) [!]", "10A3D2E8", "10A3D96C", "T&EVIRTUALGOLF", "E4", "VVGJ"},
    {"T&E Virtual Golf (J) [b1]", "10A3D2EC", "10A3D970", "T&EVIRTUALGOLF", "E4", "VVGJ"},
    {"Teleroboxer (JU) [!]", "05BF1B0D", "05BF210F", "TELEROBOXER", "01", "VTBJ"},
    {"Teleroboxer (JU) [T-German0.40b_QM404T]", "05BF2676", "05BF2C75", "TELEROBOXER", "01", "VTBG"},
    {"V Tetris (J) [!]", "030D4632", "030D4C48", "V\xA5TETRIS", "8B", "VTRJ"},
    {"Vertical Force (J) [!]", "064F6DA2", "064F73CF", "VERTICAL FORCE", "18", "VH3J"},
    {"Vertical Force (U) [!]", "064E9E1E", "064EA43E", "VERTICAL FORCE", "01", "VH3E"},
    {"Virtual Boy Wario Land (JU) [!]", "0D9C9638", "0D9C9F8A", "VB \xDC\xD8\xB5\xD7\xDD\xC4\xDE", "01", "VWCJ"},
    {"Virtual Fishing (J) [b1]", "04FFBA15", "04FFC13A", "VIRTUAL FISHING JPN", "99", "VVFJ"},
    {"Virtual League Baseball (U) [!]", "0616B976", "0616C032", "VIRTUAL LEAGUE BB", "7F", "VVPE"},
    {"Virtual League Baseball (U) [b1]", "0616BBFD", "0616C2B9", "VIRTUAL LEAGUE BB", "7F", "VVPE"},
    {"Virtual Pong (PD)", "05FD00F0", "05FD3A48", "Virtual-Pong", "VE", "V-E"},
    {"Virtual Pro Baseball '95 (J) [!]", "065C3910", "065C45E4", "\xCA\xDE\xB0\xC1\xAC\xD9\xCC\xDF\xDB\xD4\xB7\xAD\xB3'95", "28", "VVPJ"},
    {"Virtual-E Cursor Demo (PD)", "074F4B40", "075199C0", "VirtualE Cursor Demo", "8B", "VTST"},
    {"Waterworld (U) [!]", "09BF0DDC", "09BF13CB", "WATERWORLD", "67", "VWEE"},
    {"Waterworld (U) [b1]", "09BF0DEC", "09BF13DB", "WATERWORLD", "67", "VWEE"},
}};
// clang-format on

/// What a lookup gives when no row matches.
inline constexpr std::string_view kUnknownRomName = "[UNKNOWN VB ROM]";
/// What the collection's lookup gives when no checksum could be taken.
inline constexpr std::string_view kBadRomName = "[BAD ROM]";

/// Which checksum a lookup compares. Any other value is an unknown selector.
enum class ChecksumColumn : char { A = 'A', B = 'B' };

/// The name of the first row whose column holds exactly this text (case
/// matters: "0681d85b" never matches); "[UNKNOWN VB ROM]" when none does; the
/// empty text for a selector other than A or B.
std::string LookupRom(std::string_view checksum, ChecksumColumn column);

/// The collection database's lookup: as LookupRom, but an empty checksum text
/// (none could be taken) gives "[BAD ROM]".
std::string LookupRomInCollection(std::string_view checksum, ChecksumColumn column);

/// The reverse lookup: the checksum in the column of the row with this name;
/// empty when no row has the name or the selector is neither A nor B.
std::string LookupRomChecksum(std::string_view name, ChecksumColumn column);

/// The row with exactly this name, or nothing.
const KnownRom* FindKnownRom(std::string_view name);

/// True when the name is one of the 38 table names, exactly.
bool IsKnownName(std::string_view name);

/// The header a known dump should carry (version 0), or nothing for a name
/// that is no row; the caller then leaves its fields as they are.
std::optional<RomHeader> ExpectedHeader(std::string_view name);

/// How a name is marked when the header differs from the dump's: a final
/// "[!]" becomes "[h]" ("Golf (U) [h]"), any other text gets " [h]" appended.
std::string HackedForm(std::string_view name);

}  // namespace kestro::rom
