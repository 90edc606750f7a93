#include "tiles/PaletteFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
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
    // A file that is there but cannot be read is not "missing": say why.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
        return Unreadable(path, ec.message());
    }
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) return MissingFile();
    // An input stream never creates the file it opens.
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Unreadable(path, errno != 0 ? std::strerror(errno) : "The file cannot be opened.");
    std::vector<std::uint8_t> bytes(kPaletteFileSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return Unreadable(path, "The file could not be read to its end.");
    if (bytes.empty()) return MissingFile();
    return DecodePaletteFile(bytes);
}

base::FileWriteResult WritePaletteFile(const std::string& path, const TilePalette& palette) {
    const auto bytes = PaletteFileBytes(palette);
    return base::WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace kestro::tiles
