// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TileZoom.h"

#include <algorithm>

namespace kestro::tiles {

PixelImage Enlarged(const PixelImage& image, int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    PixelImage big;
    big.width = image.width * zoom;
    big.height = image.height * zoom;
    big.pixels.reserve(static_cast<std::size_t>(big.width) * static_cast<std::size_t>(big.height));
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) big.pixels.push_back(image.At(x / zoom, y / zoom));
    }
    return big;
}

}  // namespace kestro::tiles
