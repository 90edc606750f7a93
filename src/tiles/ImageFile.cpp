// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/ImageFile.h"

#include <algorithm>
#include <array>
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

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutChunk(std::vector<std::uint8_t>& png, const char (&type)[5], const std::vector<std::uint8_t>& data) {
    PutBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, Crc32(png.data() + start, png.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks, at most 65535 bytes each.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> z{0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        PutLe16(z, static_cast<std::uint32_t>(n));
        PutLe16(z, static_cast<std::uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    PutBe32(z, Adler32(raw));
    return z;
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

std::vector<std::uint8_t> EncodePng(const PixelImage& image) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (1 + static_cast<std::size_t>(image.width) * 3));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBe32(header, static_cast<std::uint32_t>(image.width));
    PutBe32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

base::FileWriteResult WriteImageFile(const std::string& path, const PixelImage& image, ImageFormat format) {
    const std::vector<std::uint8_t> bytes = format == ImageFormat::Png ? EncodePng(image) : EncodeBmp(image);
    return base::WriteFileAtomically(path, bytes);
}

}  // namespace kestro::tiles
