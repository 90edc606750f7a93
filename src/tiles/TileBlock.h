// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A rectangle of tiles in a ROM, read out as pixel values 0-3 and written
// back: what a picture editor works on between export and import.

#include <cstdint>
#include <span>
#include <vector>

#include "tiles/TileRender.h"

namespace kestro::tiles {

/// columns × rows tiles; each row starts `width` tiles after the previous
/// one, as in the viewer, so columns never exceed width.
struct TileBlock {
    std::int64_t offset = 0;
    std::int64_t width = kViewColumns;
    int columns = 0;
    int rows = 0;
    friend bool operator==(const TileBlock&, const TileBlock&) = default;
};

/// One past the last byte of the block's last tile.
std::int64_t BlockEnd(const TileBlock& block);

/// The view's shown columns, and of its first `rows` rows those that lie
/// wholly inside the ROM (none when its first row runs past the end).
TileBlock WholeRowsOf(const TileView& view, int rows, std::int64_t romLength);

/// Pixel values 0-3, one byte a pixel, rows top to bottom.
struct TilePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;
    std::uint8_t& At(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
    friend bool operator==(const TilePixels&, const TilePixels&) = default;
};

/// The block's pixels; the block must lie inside the ROM.
TilePixels ReadTiles(std::span<const std::uint8_t> rom, const TileBlock& block);

/// A tile of the block, by its row and column there.
struct TileSpot {
    int row = 0;
    int column = 0;
    friend bool operator==(const TileSpot&, const TileSpot&) = default;
};

/// What writing tiles back changed.
struct TileChanges {
    std::vector<TileSpot> tiles;  ///< in reading order
    std::int64_t bytes = 0;
};

/// Encodes the pixels (block-sized, values 0-3) into the block's bytes of the
/// ROM, which must hold the block; no other byte is touched.
TileChanges WriteTiles(std::vector<std::uint8_t>& rom, const TileBlock& block, const TilePixels& pixels);

/// Outlines the tiles in the colour, where the view shows them.
void MarkTiles(PixelImage& view, const std::vector<TileSpot>& tiles, Rgb colour);

}  // namespace kestro::tiles
