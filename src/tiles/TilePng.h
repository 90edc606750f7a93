// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tiles out to an indexed PNG whose pixel values are the tiles' own 0-3, and
// an edited picture back into the ROM's tiles at the place it came from.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "base/AtomicFile.h"
#include "tiles/TileBlock.h"
#include "tiles/TilePalette.h"

namespace kestro::tiles {

/// Where a picture's tiles came from, as its text chunks record it.
struct TilePlace {
    std::string romName;  ///< the ROM file's name, UTF-8
    std::optional<std::int64_t> offset;
    std::optional<std::int64_t> width;  ///< tiles a row
};

/// An indexed PNG of the pixels: 2 bits a pixel, the palette's four colours
/// as entries 0-3 (entry v is the colour pixel value v is drawn in), and the
/// place as text chunks.
std::vector<std::uint8_t> EncodeTilePng(const TilePixels& pixels, const TilePalette& palette, const TilePlace& place);

/// Writes the picture, replacing any file there only once it is complete.
base::FileWriteResult WriteTilePng(const std::string& path, const TilePixels& pixels, const TilePalette& palette,
                                   const TilePlace& place);

/// A PNG as read: palette indices for an indexed picture, else 8-bit R, G, B.
struct PngPicture {
    int width = 0;
    int height = 0;
    bool indexed = false;
    std::vector<std::uint8_t> samples;  ///< one index, or three colour bytes, a pixel
    TilePlace place;
};

/// Why a picture cannot go into the ROM. colourOutsidePalette: it would go
/// in if each such colour took the nearest palette entry.
struct ImportRefusal {
    std::string reason;
    bool colourOutsidePalette = false;
};

/// A picture file's bytes, or why they cannot be had.
std::variant<std::vector<std::uint8_t>, ImportRefusal> ReadPictureFile(const std::string& path);

/// Reads any PNG (every colour type, bit depth and interlacing).
std::variant<PngPicture, ImportRefusal> DecodePng(std::span<const std::uint8_t> bytes);

/// The picture's pixel values: an index as it is (above 3 refused), a colour
/// as the palette entry of exactly that colour, or with `nearest` the
/// closest entry. The first pixel refused is named.
std::variant<TilePixels, ImportRefusal> PixelValuesOf(const PngPicture& picture, const TilePalette& palette,
                                                      bool nearest);

/// The place an import goes to when the picture does not record one; no
/// width means as many tiles a row as the picture is wide.
struct PlaceDefault {
    std::int64_t offset = 0;
    std::optional<std::int64_t> width;
};

/// A ROM with a picture's tiles written in.
struct TileImport {
    std::vector<std::uint8_t> rom;
    TileBlock block;
    TileChanges changes;
    std::string fromRom;  ///< the ROM the picture records, if any
};

/// Decodes the picture, finds its place (its own text chunks first, else the
/// default), checks that whole tiles fit there inside the ROM, and encodes
/// them into a copy of the ROM. Nothing is changed when it is refused.
std::variant<TileImport, ImportRefusal> ImportTiles(std::span<const std::uint8_t> rom,
                                                    std::span<const std::uint8_t> png, const TilePalette& palette,
                                                    const PlaceDefault& fallback, bool nearest);

/// "05 tiles (80 bytes) changed": counts with at least two digits.
std::string ChangesText(const TileChanges& changes);

/// The colour that marks changed tiles in the view.
inline constexpr Rgb kChangedTileMark{255, 255, 0};

}  // namespace kestro::tiles
