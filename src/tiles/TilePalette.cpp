// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TilePalette.h"

#include "base/SettingsKeys.h"

namespace kestro::tiles {

std::uint8_t Component(const Rgb& colour, int k) {
    return k == 0 ? colour.red : k == 1 ? colour.green : colour.blue;
}

void SetComponent(Rgb& colour, int k, std::uint8_t value) {
    (k == 0 ? colour.red : k == 1 ? colour.green : colour.blue) = value;
}

TilePalette ReadTilePalette(const base::SettingsStore& store, const TilePalette& defaults) {
    TilePalette palette = defaults;
    for (std::size_t c = 0; c < palette.colours.size(); ++c) {
        for (int k = 0; k < 3; ++k) {
            const base::SettingKey& key = base::keys::TileColour[c][static_cast<std::size_t>(k)];
            const int fallback = Component(defaults.colours[c], k);
            const auto stored = store.Find(std::string(key.key));
            const int value = stored ? base::ParseWhole(*stored, fallback) : fallback;
            SetComponent(palette.colours[c], k, ComponentOf(value));
        }
    }
    return palette;
}

void WriteTilePalette(base::SettingsStore& store, const TilePalette& palette) {
    for (std::size_t c = 0; c < palette.colours.size(); ++c) {
        for (int k = 0; k < 3; ++k) {
            base::WriteWhole(store, base::keys::TileColour[c][static_cast<std::size_t>(k)],
                             Component(palette.colours[c], k));
        }
    }
}

}  // namespace kestro::tiles
