// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/ImageFile.h"

#include <algorithm>
#include <cctype>

namespace kestro::tiles {

namespace {

void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

}  // namespace

ImageFormat FormatForPath(const std::string& path) {
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".png" ? ImageFormat::Png : ImageFormat::Bmp;
}

std::vector<std::uint8_t> EncodeBmp(const PixelImage& image) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(image.height);
    constexpr std::uint32_t kHeaderBytes = 14 + 40;
    std::vector<std::uint8_t> bmp{'B', 'M'};
    bmp.reserve(kHeaderBytes + dataBytes);
    PutLe32(bmp, kHeaderBytes + dataBytes);
    PutLe32(bmp, 0);
    PutLe32(bmp, kHeaderBytes);
    PutLe32(bmp, 40);
    PutLe32(bmp, static_cast<std::uint32_t>(image.width));
    PutLe32(bmp, static_cast<std::uint32_t>(image.height));
    PutLe16(bmp, 1);   // planes
    PutLe16(bmp, 24);  // bits per pixel
    PutLe32(bmp, 0);   // no compression
    PutLe32(bmp, dataBytes);
    PutLe32(bmp, 3780);  // 96 dots per inch, in dots per metre
    PutLe32(bmp, 3780);
    PutLe32(bmp, 0);
    PutLe32(bmp, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            bmp.push_back(static_cast<std::uint8_t>(p));
            bmp.push_back(static_cast<std::uint8_t>(p >> 8));
            bmp.push_back(static_cast<std::uint8_t>(p >> 16));
        }
        bmp.resize(bmp.size() + (rowBytes - static_cast<std::uint32_t>(image.width) * 3), 0);
    }
    return bmp;
}

base::FileWriteResult WriteBitmapFile(const std::string& path, const PixelImage& image) {
    return base::WriteFileAtomically(path, EncodeBmp(image));
}

}  // namespace kestro::tiles
