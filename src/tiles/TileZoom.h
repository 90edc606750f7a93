// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tile viewer's zoom: whole screen pixels for each pixel of the view.

#include "base/SettingsKeys.h"
#include "tiles/TileRender.h"

namespace kestro::tiles {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;

/// Beyond the designed keys (so not in the settings table's list that
/// start-up writes): the zoom the viewer opened with last.
inline constexpr base::SettingKey kTileViewerZoomKey{"Tile Viewer Zoom", base::SettingKind::Whole, "1", kMinZoom,
                                                     kMaxZoom};

/// The image with every pixel drawn as a zoom x zoom block (nearest
/// neighbour), as the viewer shows it enlarged.
PixelImage Enlarged(const PixelImage& image, int zoom);

}  // namespace kestro::tiles
