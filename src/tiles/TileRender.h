// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Laying a stretch of ROM bytes out as a grid of tiles and drawing it into a
// pixel buffer in one pass.

#include <cstdint>
#include <span>
#include <vector>

#include "tiles/TileFormat.h"
#include "tiles/TilePalette.h"

namespace kestro::tiles {

/// A picture as 0xFFRRGGBB words, rows top to bottom (the layout of a
/// 32-bit RGB image, so a window can show it without converting).
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelImage() = default;
    PixelImage(int w, int h, Rgb fill);
    void Fill(Rgb colour);
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    friend bool operator==(const PixelImage&, const PixelImage&) = default;
};

/// Where a view starts and how many tiles each of its rows spans.
struct TileView {
    std::int64_t offset = 0;            ///< bytes from the start of the ROM
    std::int64_t width = kViewColumns;  ///< tiles per row, of which at most 48 are shown
};

/// Tiles shown across: the width, but at most 48 (none for a width below 1).
int VisibleColumns(std::int64_t width);
/// First byte of the tile at a column and tile row of the view: each row
/// starts a whole view width after the previous one.
std::int64_t TileSource(const TileView& view, int row, int column);
/// An offset beyond the end of the ROM is pulled back to its length.
std::int64_t PulledBackOffset(std::int64_t offset, std::int64_t length);

/// The window's hook into a long render: it lets the event loop run.
class RenderPacer {
public:
    virtual ~RenderPacer() = default;
    /// Called after each tile; returning false stops the render at once, and
    /// the ROM bytes are not touched again.
    virtual bool TileDrawn(int row, int column) = 0;
};

/// Clears the image (made 384 × 224) to the surface colour and draws the view:
/// bytes the ROM does not have stay clear. False when the pacer stopped it.
bool RenderView(std::span<const std::uint8_t> rom, const TileView& view, const TilePalette& palette, Rgb surface,
                PixelImage& image, RenderPacer* pacer = nullptr);

}  // namespace kestro::tiles
