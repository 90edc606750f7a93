// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Palette files (.pvb): "PAL" and the four colours, red, green, blue each.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "base/AtomicFile.h"
#include "base/Message.h"
#include "tiles/TilePalette.h"

namespace kestro::tiles {

inline constexpr std::size_t kPaletteFileSize = 15;

/// The file's bytes: "PAL", then colours 1 to 4, red, green, blue each.
std::array<std::uint8_t, kPaletteFileSize> PaletteFileBytes(const TilePalette& palette);

/// The palette a file's bytes hold, or the message that refuses them. Bytes
/// after the fifteenth are ignored; a file that stops short of fifteen is
/// refused like one without the magic.
std::variant<TilePalette, base::Message> DecodePaletteFile(std::span<const std::uint8_t> bytes);

/// Reads a palette file; a missing or empty file is refused with "File does
/// not exist.", one that is there but cannot be read with the reason.
/// Reading never creates a file.
std::variant<TilePalette, base::Message> ReadPaletteFile(const std::string& path);

/// Writes a palette file in place of any file there, atomically.
base::FileWriteResult WritePaletteFile(const std::string& path, const TilePalette& palette);

}  // namespace kestro::tiles
