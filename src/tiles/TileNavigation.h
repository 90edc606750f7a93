// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving the view through the ROM and changing its width, with the bounds
// that keep both in range.

#include <string>
#include <string_view>

namespace kestro::tiles {

/// The widest view a user can ask for, in tiles.
inline constexpr int kMaxViewWidth = 32767;

/// One press of a navigation or width button.
enum class ViewStep {
    OffsetDown,      ///< "<-1": back a byte
    OffsetUp,        ///< "1->": on a byte
    OffsetDownTile,  ///< "<": back a tile
    OffsetUpTile,    ///< ">": on a tile
    Up,              ///< back a row of tiles
    Down,            ///< on a row of tiles
    PageUp,          ///< back a screen
    PageDown,        ///< on a screen
    TileLeft,        ///< "<<": one tile narrower
    TileRight,       ///< ">>": one tile wider
    TileHalf,        ///< "<-/2"
    TileDouble,      ///< "x2->"
};

/// The view's offset and width as the window holds them (numbers read from
/// its labels, so not always whole).
struct ViewPlace {
    double offset = 0;
    double width = 0;
    friend bool operator==(const ViewPlace&, const ViewPlace&) = default;
};

/// A width or offset read from its label as the whole number the view uses:
/// halves to the even neighbour, the same for drawing and for halving.
double WholeTiles(double value);

bool ChangesWidth(ViewStep step);

/// The place after one step, bounded as the buttons bound it.
ViewPlace Step(ViewStep step, ViewPlace place, double fileLength);

/// What the goto dialog edits.
enum class GotoWhat { Offset, Width };

/// The goto box's text after a change: its number, at most 32767 for a width
/// and at most the last byte for an offset. Hexadecimal after "0x" is kept
/// as typed up to its first non-digit, and held to the same bounds.
std::string GotoTextChanged(GotoWhat what, std::string_view text, double fileLength);
/// The value "Goto" hands back, in decimal: a width of at least 1, an offset
/// of at least 0.
std::string GotoAccepted(GotoWhat what, std::string_view text);

}  // namespace kestro::tiles
