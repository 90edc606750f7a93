// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TileBlock.h"

#include <algorithm>

namespace kestro::tiles {

namespace {
std::int64_t TileStart(const TileBlock& block, int row, int column) {
    return block.offset + kTileBytes * (row * block.width + column);
}
}  // namespace

std::int64_t BlockEnd(const TileBlock& block) {
    if (block.rows <= 0 || block.columns <= 0) return block.offset;
    return TileStart(block, block.rows - 1, block.columns - 1) + kTileBytes;
}

TileBlock WholeRowsOf(const TileView& view, int rows, std::int64_t romLength) {
    TileBlock block{view.offset, view.width, VisibleColumns(view.width), 0};
    const std::int64_t firstRowEnd = view.offset + std::int64_t{kTileBytes} * block.columns;
    if (block.columns == 0 || firstRowEnd > romLength) return block;
    const std::int64_t more = (romLength - firstRowEnd) / (std::int64_t{kTileBytes} * view.width);
    block.rows = static_cast<int>(std::min<std::int64_t>(rows, 1 + more));
    return block;
}

TilePixels ReadTiles(std::span<const std::uint8_t> rom, const TileBlock& block) {
    TilePixels pixels{block.columns * kTileSize, block.rows * kTileSize, {}};
    pixels.values.resize(static_cast<std::size_t>(pixels.width) * pixels.height);
    for (int row = 0; row < block.rows; ++row) {
        for (int column = 0; column < block.columns; ++column) {
            const std::uint8_t* tile = rom.data() + TileStart(block, row, column);
            for (int i = 0; i < kTileBytes; ++i) {
                const BytePixels& px = kBytePixels[tile[i]];
                std::uint8_t* out = &pixels.At(column * kTileSize + 4 * (i & 1), row * kTileSize + i / 2);
                std::copy(px.begin(), px.end(), out);
            }
        }
    }
    return pixels;
}

TileChanges WriteTiles(std::vector<std::uint8_t>& rom, const TileBlock& block, const TilePixels& pixels) {
    TileChanges changes;
    for (int row = 0; row < block.rows; ++row) {
        for (int column = 0; column < block.columns; ++column) {
            std::uint8_t* tile = rom.data() + TileStart(block, row, column);
            int changed = 0;
            for (int i = 0; i < kTileBytes; ++i) {
                const std::uint8_t* in =
                    &pixels.values[static_cast<std::size_t>(row * kTileSize + i / 2) * pixels.width +
                                   column * kTileSize + 4 * (i & 1)];
                const std::uint8_t byte = EncodeByte(in[0], in[1], in[2], in[3]);
                changed += byte != tile[i];
                tile[i] = byte;
            }
            if (changed == 0) continue;
            changes.tiles.push_back({row, column});
            changes.bytes += changed;
        }
    }
    return changes;
}

void MarkTiles(PixelImage& view, const std::vector<TileSpot>& tiles, Rgb colour) {
    const std::uint32_t word = PixelWord(colour);
    for (const TileSpot& spot : tiles) {
        const int left = spot.column * kTileSize, top = spot.row * kTileSize;
        if (left + kTileSize > view.width || top + kTileSize > view.height) continue;
        for (int k = 0; k < kTileSize; ++k) {
            for (const auto& [x, y] : {std::pair{left + k, top}, std::pair{left + k, top + kTileSize - 1},
                                       std::pair{left, top + k}, std::pair{left + kTileSize - 1, top + k}}) {
                view.pixels[static_cast<std::size_t>(y) * view.width + x] = word;
            }
        }
    }
}

}  // namespace kestro::tiles
