// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tile viewer's zoom: whole screen pixels for each pixel of the view.

#include "base/SettingsKeys.h"
#include "tiles/TileRender.h"

namespace kestro::tiles {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;

inline constexpr const base::SettingKey& kTileViewerZoomKey = base::keys::TileViewerZoom;
static_assert(base::keys::TileViewerZoom.low == kMinZoom && base::keys::TileViewerZoom.high == kMaxZoom);

/// The image with every pixel drawn as a zoom x zoom block (nearest
/// neighbour), as the viewer shows it enlarged.
PixelImage Enlarged(const PixelImage& image, int zoom);

}  // namespace kestro::tiles
