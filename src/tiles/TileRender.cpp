// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TileRender.h"

#include <algorithm>

namespace kestro::tiles {

PixelImage::PixelImage(int w, int h, Rgb fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), PixelWord(fill)) {}

void PixelImage::Fill(Rgb colour) {
    std::fill(pixels.begin(), pixels.end(), PixelWord(colour));
}

int VisibleColumns(std::int64_t width) {
    return static_cast<int>(std::clamp<std::int64_t>(width, 0, kViewColumns));
}

std::int64_t TileSource(const TileView& view, int row, int column) {
    return view.offset + kTileBytes * (row * view.width + column);
}

std::int64_t PulledBackOffset(std::int64_t offset, std::int64_t length) {
    return length < offset ? length : offset;
}

namespace {

// Draws the existing bytes of one tile; a tile the ROM's end cuts short
// keeps only its existing rows and half-rows.
void DrawTile(std::span<const std::uint8_t> rom, std::int64_t source, const std::array<std::uint32_t, 4>& words,
              std::uint32_t* topLeft, int stride) {
    const auto size = static_cast<std::int64_t>(rom.size());
    for (int r = 0; r < kTileSize; ++r) {
        std::uint32_t* line = topLeft + static_cast<std::ptrdiff_t>(r) * stride;
        for (int h = 0; h < 2; ++h) {
            const std::int64_t index = source + 2 * r + h;
            if (index < 0 || index >= size) continue;
            const BytePixels& px = kBytePixels[rom[static_cast<std::size_t>(index)]];
            std::uint32_t* out = line + 4 * h;
            out[0] = words[px[0]];
            out[1] = words[px[1]];
            out[2] = words[px[2]];
            out[3] = words[px[3]];
        }
    }
}

}  // namespace

bool RenderView(std::span<const std::uint8_t> rom, const TileView& view, const TilePalette& palette, Rgb surface,
                PixelImage& image, RenderPacer* pacer) {
    if (image.width != kViewWidth || image.height != kViewHeight) {
        image = PixelImage(kViewWidth, kViewHeight, surface);
    } else {
        image.Fill(surface);
    }
    const std::array<std::uint32_t, 4> words{PixelWord(palette.ForPixel(0)), PixelWord(palette.ForPixel(1)),
                                             PixelWord(palette.ForPixel(2)), PixelWord(palette.ForPixel(3))};
    const int columns = VisibleColumns(view.width);
    for (int row = 0; row < kViewRows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::uint32_t* topLeft =
                image.pixels.data() + static_cast<std::ptrdiff_t>(row) * kTileSize * kViewWidth + column * kTileSize;
            DrawTile(rom, TileSource(view, row, column), words, topLeft, kViewWidth);
            if (pacer != nullptr && !pacer->TileDrawn(row, column)) return false;
        }
    }
    return true;
}

}  // namespace kestro::tiles
