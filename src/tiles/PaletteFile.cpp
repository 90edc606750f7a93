// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/PaletteFile.h"

#include "base/FileRead.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace kestro::tiles {

namespace {

constexpr std::array<std::uint8_t, 3> kMagic{'P', 'A', 'L'};

base::Message MissingFile() {
    return {"Invalid filename", "File does not exist.", base::MessageIcon::Exclamation};
}

base::Message Unreadable(const std::string& path, const std::string& reason) {
    return {"Cannot read palette", base::JoinCr({"The palette file could not be read:", path, reason}),
            base::MessageIcon::Exclamation};
}

base::Message NotAPalette() {
    return {"Invalid Kestro palette", "File is not a Kestro palette file.", base::MessageIcon::Exclamation};
}

}  // namespace

std::array<std::uint8_t, kPaletteFileSize> PaletteFileBytes(const TilePalette& palette) {
    std::array<std::uint8_t, kPaletteFileSize> bytes{kMagic[0], kMagic[1], kMagic[2]};
    std::size_t i = kMagic.size();
    for (const Rgb& c : palette.colours) {
        bytes[i++] = c.red;
        bytes[i++] = c.green;
        bytes[i++] = c.blue;
    }
    return bytes;
}

std::variant<TilePalette, base::Message> DecodePaletteFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kPaletteFileSize || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
        return NotAPalette();
    }
    TilePalette palette;
    std::size_t i = kMagic.size();
    for (Rgb& c : palette.colours) {
        c = {bytes[i], bytes[i + 1], bytes[i + 2]};
        i += 3;
    }
    return palette;
}

std::variant<TilePalette, base::Message> ReadPaletteFile(const std::string& path) {
    // Reading never creates the file, and refuses a FIFO or a device at once.
    std::vector<std::uint8_t> bytes;
    const base::ReadResult read = base::ReadRegularFile(path, bytes, kPaletteFileSize);
    if (read.status == base::ReadStatus::Missing) return MissingFile();
    if (!read) return Unreadable(path, read.reason);
    if (bytes.empty()) return MissingFile();
    return DecodePaletteFile(bytes);
}

base::FileWriteResult WritePaletteFile(const std::string& path, const TilePalette& palette) {
    const auto bytes = PaletteFileBytes(palette);
    return base::WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace kestro::tiles
