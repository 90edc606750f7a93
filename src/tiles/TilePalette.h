// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four tile colours, their presets and their twelve settings keys.

#include <array>
#include <cstdint>

#include "base/SettingsStore.h"

namespace kestro::tiles {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// The colour as a 0xFFRRGGBB pixel word.
constexpr std::uint32_t PixelWord(Rgb c) {
    return 0xFF000000u | (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

/// Four colours, colour 1 (the lightest, pixel value 3) first: the order of
/// the palette window, the settings keys and palette files.
struct TilePalette {
    std::array<Rgb, 4> colours;

    /// The colour a 2-bit pixel value is drawn in.
    constexpr Rgb ForPixel(int value) const { return colours[3 - (value & 3)]; }
    friend bool operator==(const TilePalette&, const TilePalette&) = default;
};

/// Red shades of the Virtual Boy's own display: the viewer's defaults and the
/// "Revert to VB palette" preset.
inline constexpr TilePalette kVbPalette{{{{255, 0, 0}, {192, 0, 0}, {128, 0, 0}, {64, 0, 0}}}};
/// The "Revert to grayscale" preset.
inline constexpr TilePalette kGreyPreset{{{{255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {64, 64, 64}}}};
/// The palette window's defaults for keys missing from the store.
inline constexpr TilePalette kPaletteWindowDefaults{{{{255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {0, 0, 0}}}};

/// The drawing surface's colour where nothing has been drawn.
inline constexpr Rgb kSurfaceColour{0, 128, 128};

/// A colour component held within 0-255.
constexpr std::uint8_t ComponentOf(double value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<std::uint8_t>(value + 0.5);
}

/// Reads the twelve colour keys; a missing or unreadable key gives the
/// default's component, and stored values are held within 0-255.
TilePalette ReadTilePalette(const base::SettingsStore& store, const TilePalette& defaults);
/// Writes the twelve colour keys as decimal text.
void WriteTilePalette(base::SettingsStore& store, const TilePalette& palette);

/// Component k (0 red, 1 green, 2 blue) of a colour, and setting it.
std::uint8_t Component(const Rgb& colour, int k);
void SetComponent(Rgb& colour, int k, std::uint8_t value);

}  // namespace kestro::tiles
