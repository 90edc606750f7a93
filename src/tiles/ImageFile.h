// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a rendered view as a Windows bitmap or a PNG picture, without any
// image library: both are small, fixed-layout formats.

#include <cstdint>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "tiles/TileRender.h"

namespace kestro::tiles {

enum class ImageFormat { Bmp, Png };

/// PNG for a name ending in ".png" (any case), a Windows bitmap otherwise.
ImageFormat FormatForPath(const std::string& path);

/// A 24-bit Windows bitmap (BITMAPINFOHEADER, rows bottom up).
std::vector<std::uint8_t> EncodeBmp(const PixelImage& image);
/// An 8-bit RGB PNG whose image data is stored uncompressed.
std::vector<std::uint8_t> EncodePng(const PixelImage& image);

/// Encodes and writes the picture, replacing any file there only once the
/// new one is complete.
base::FileWriteResult WriteImageFile(const std::string& path, const PixelImage& image, ImageFormat format);

}  // namespace kestro::tiles
