// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Virtual Boy characters: 8 × 8 pixel tiles of 2 bits a pixel, 16 bytes each,
// and the grid of them that one view shows.

#include <array>
#include <cstdint>

namespace kestro::tiles {

inline constexpr int kTileBytes = 16;
inline constexpr int kTileSize = 8;                          ///< pixels across and down
inline constexpr int kViewColumns = 48;                      ///< at most this many tiles across
inline constexpr int kViewRows = 28;                         ///< always this many tile rows
inline constexpr int kViewWidth = kViewColumns * kTileSize;  ///< 384 pixels
inline constexpr int kViewHeight = kViewRows * kTileSize;    ///< 224 pixels

/// The four pixel values of one byte, left to right.
using BytePixels = std::array<std::uint8_t, 4>;

/// A byte holds half a tile row: its lowest bit pair is the leftmost pixel,
/// so 0x1B (00 01 10 11) reads 3, 2, 1, 0.
constexpr BytePixels DecodeByte(std::uint8_t byte) {
    return {static_cast<std::uint8_t>(byte & 3), static_cast<std::uint8_t>((byte >> 2) & 3),
            static_cast<std::uint8_t>((byte >> 4) & 3), static_cast<std::uint8_t>((byte >> 6) & 3)};
}

/// The inverse of DecodeByte: four pixel values, left to right, back into the
/// byte, the leftmost in the lowest bit pair.
constexpr std::uint8_t EncodeByte(std::uint8_t p0, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3) {
    return static_cast<std::uint8_t>((p0 & 3) | ((p1 & 3) << 2) | ((p2 & 3) << 4) | ((p3 & 3) << 6));
}

namespace detail {
constexpr std::array<BytePixels, 256> MakeBytePixelTable() {
    std::array<BytePixels, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = DecodeByte(static_cast<std::uint8_t>(b));
    return table;
}
}  // namespace detail

/// DecodeByte for every byte value, built at compile time.
inline constexpr std::array<BytePixels, 256> kBytePixels = detail::MakeBytePixelTable();

}  // namespace kestro::tiles
