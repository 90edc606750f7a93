// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TileRender.h"

#include <algorithm>
#include <cstring>

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

// Four pixel words for every byte value: a tile row's byte is drawn by
// copying sixteen bytes.
using ByteWords = std::array<std::array<std::uint32_t, 4>, 256>;

ByteWords MakeByteWords(const TilePalette& palette) {
    const std::array<std::uint32_t, 4> words{PixelWord(palette.ForPixel(0)), PixelWord(palette.ForPixel(1)),
                                             PixelWord(palette.ForPixel(2)), PixelWord(palette.ForPixel(3))};
    ByteWords table;
    for (std::size_t b = 0; b < table.size(); ++b) {
        for (std::size_t i = 0; i < 4; ++i) table[b][i] = words[kBytePixels[b][i]];
    }
    return table;
}

void FillRect(std::uint32_t* topLeft, int stride, int width, int height, std::uint32_t word) {
    for (int y = 0; y < height; ++y) {
        std::uint32_t* line = topLeft + static_cast<std::ptrdiff_t>(y) * stride;
        std::fill(line, line + width, word);
    }
}

// Draws one tile. A tile the ROM's end (or start) cuts short keeps only its
// existing rows and half-rows, on the surface colour.
void DrawTile(std::span<const std::uint8_t> rom, std::int64_t source, const ByteWords& table, std::uint32_t surface,
              std::uint32_t* topLeft, int stride) {
    const auto size = static_cast<std::int64_t>(rom.size());
    if (source >= 0 && source + kTileBytes <= size) {
        const std::uint8_t* bytes = rom.data() + source;
        for (int r = 0; r < kTileSize; ++r) {
            std::uint32_t* line = topLeft + static_cast<std::ptrdiff_t>(r) * stride;
            std::memcpy(line, table[bytes[2 * r]].data(), sizeof(table[0]));
            std::memcpy(line + 4, table[bytes[2 * r + 1]].data(), sizeof(table[0]));
        }
        return;
    }
    FillRect(topLeft, stride, kTileSize, kTileSize, surface);
    for (int r = 0; r < kTileSize; ++r) {
        std::uint32_t* line = topLeft + static_cast<std::ptrdiff_t>(r) * stride;
        for (int h = 0; h < 2; ++h) {
            const std::int64_t index = source + 2 * r + h;
            if (index < 0 || index >= size) continue;
            std::memcpy(line + 4 * h, table[rom[static_cast<std::size_t>(index)]].data(), sizeof(table[0]));
        }
    }
}

}  // namespace

bool RenderView(std::span<const std::uint8_t> rom, const TileView& view, const TilePalette& palette, Rgb surface,
                PixelImage& image, RenderPacer* pacer) {
    const std::uint32_t clear = PixelWord(surface);
    if (image.width != kViewWidth || image.height != kViewHeight) {
        image = PixelImage(kViewWidth, kViewHeight, surface);
    } else if (pacer != nullptr) {
        // A paced render is shown while it runs: it starts from a clear view.
        image.Fill(surface);
    }
    const ByteWords table = MakeByteWords(palette);
    const int columns = VisibleColumns(view.width);
    for (int row = 0; row < kViewRows; ++row) {
        std::uint32_t* rowStart = image.pixels.data() + static_cast<std::ptrdiff_t>(row) * kTileSize * kViewWidth;
        // What no tile covers: the right of a narrow view.
        FillRect(rowStart + columns * kTileSize, kViewWidth, (kViewColumns - columns) * kTileSize, kTileSize, clear);
        for (int column = 0; column < columns; ++column) {
            DrawTile(rom, TileSource(view, row, column), table, clear, rowStart + column * kTileSize, kViewWidth);
            if (pacer != nullptr && !pacer->TileDrawn(row, column)) return false;
        }
    }
    return true;
}

}  // namespace kestro::tiles
