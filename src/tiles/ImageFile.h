// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a rendered view as a Windows bitmap, a small fixed-layout format
// that needs no image library.

#include <cstdint>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "tiles/TileRender.h"

namespace kestro::tiles {

enum class ImageFormat { Bmp, Png };

/// PNG (the tiles' own values, see TilePng.h) for a name ending in ".png"
/// (any case), a Windows bitmap otherwise.
ImageFormat FormatForPath(const std::string& path);

/// A 24-bit Windows bitmap (BITMAPINFOHEADER, rows bottom up).
std::vector<std::uint8_t> EncodeBmp(const PixelImage& image);

/// Encodes and writes the bitmap, replacing any file there only once the
/// new one is complete.
base::FileWriteResult WriteBitmapFile(const std::string& path, const PixelImage& image);

}  // namespace kestro::tiles
