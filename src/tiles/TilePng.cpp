// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TilePng.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

#include "base/FileRead.h"
#include "tiles/TileNavigation.h"

namespace kestro::tiles {

namespace {

constexpr const char* kRomKey = "Kestro ROM";
constexpr const char* kOffsetKey = "Kestro offset";
constexpr const char* kWidthKey = "Kestro width";
// Far more pixels than the tiles of the largest ROM; a picture claiming more
// is refused before anything is allocated for it.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

// libpng reports errors by jumping back to the setjmp of the caller; the
// text goes to the string given as the error pointer first.
[[noreturn]] void OnPngError(png_structp png, png_const_charp text) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = text;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->at) png_error(png, "the file ends too soon");
    std::memcpy(out, reader->data + reader->at, count);
    reader->at += count;
}

void WriteToVector(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void FlushNothing(png_structp) {}

// Everything between setjmp and a possible error jump: no local here may
// need a destructor, since the jump skips them.
void ReadPixels(png_structp png, png_infop info, PngPicture& picture, std::vector<png_bytep>& rows) {
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, type = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &type, nullptr, nullptr, nullptr);
    if (std::uint64_t{width} * height > kMaxPixels) png_error(png, "it is larger than the tiles of any ROM");
    picture.indexed = type == PNG_COLOR_TYPE_PALETTE;
    if (picture.indexed) {
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_strip_alpha(png);
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t channels = picture.indexed ? 1 : 3;
    if (png_get_rowbytes(png, info) != width * channels) png_error(png, "its rows have an unexpected layout");
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.samples.resize(std::size_t{width} * height * channels);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = picture.samples.data() + std::size_t{y} * width * channels;
    png_read_image(png, rows.data());
    png_read_end(png, info);
}

// A whole number written in decimal digits, within the range.
std::optional<std::int64_t> ChunkNumber(const std::string& text, std::int64_t low, std::int64_t high) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

// The place the picture's text chunks record; an empty text when they are
// sound, else why not.
std::string ReadPlace(png_structp png, png_infop info, TilePlace& place) {
    png_textp texts = nullptr;
    const int count = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < count; ++i) {
        const std::string key = texts[i].key;
        const std::string value(texts[i].text, texts[i].text_length ? texts[i].text_length : texts[i].itxt_length);
        if (key == kRomKey) place.romName = value;
        if (key != kOffsetKey && key != kWidthKey) continue;
        const bool isOffset = key == kOffsetKey;
        const auto number = ChunkNumber(value, isOffset ? 0 : 1, isOffset ? INT64_MAX / 2 : kMaxViewWidth);
        if (!number)
            return "Its text \"" + key + "\" holds \"" + value + "\", which is no " +
                   (isOffset ? "offset." : "width of 1 to 32767 tiles.");
        (isOffset ? place.offset : place.width) = *number;
    }
    return {};
}

std::string ColourText(const std::uint8_t* rgb) {
    return std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," + std::to_string(rgb[2]);
}

std::string PixelText(int x, int y) {
    return "Pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The entry whose colour is nearest, the lowest value among equals.
std::uint8_t NearestValue(const std::array<Rgb, 4>& entries, const std::uint8_t* rgb) {
    std::uint8_t best = 0;
    int bestDistance = INT32_MAX;
    for (int v = 0; v < 4; ++v) {
        const int dr = entries[v].red - rgb[0], dg = entries[v].green - rgb[1], db = entries[v].blue - rgb[2];
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint8_t>(v);
        }
    }
    return best;
}

std::string Counted(std::int64_t count) {
    std::string text = std::to_string(count);
    return count < 10 ? "0" + text : text;
}

}  // namespace

std::vector<std::uint8_t> EncodeTilePng(const TilePixels& pixels, const TilePalette& palette, const TilePlace& place) {
    std::vector<std::uint8_t> out;
    std::string error;
    std::array<png_color, 4> entries{};
    for (int v = 0; v < 4; ++v)
        entries[v] = {palette.ForPixel(v).red, palette.ForPixel(v).green, palette.ForPixel(v).blue};
    std::string romKey = kRomKey, offsetKey = kOffsetKey, widthKey = kWidthKey, romName = place.romName;
    std::string offset = place.offset ? std::to_string(*place.offset) : "";
    std::string width = place.width ? std::to_string(*place.width) : "";
    std::vector<png_text> texts;
    auto addText = [&texts](std::string& key, std::string& value, int compression) {
        if (value.empty()) return;
        png_text text{};
        text.compression = compression;
        text.key = key.data();
        text.text = value.data();
        (compression == PNG_TEXT_COMPRESSION_NONE ? text.text_length : text.itxt_length) = value.size();
        texts.push_back(text);
    };
    // The name may be any UTF-8, which only the international text chunk holds.
    addText(romKey, romName, PNG_ITXT_COMPRESSION_NONE);
    addText(offsetKey, offset, PNG_TEXT_COMPRESSION_NONE);
    addText(widthKey, width, PNG_TEXT_COMPRESSION_NONE);
    std::vector<png_bytep> rows(static_cast<std::size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        rows[y] = const_cast<png_bytep>(pixels.values.data() + static_cast<std::size_t>(y) * pixels.width);
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG picture not made: " + error);
    }
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 2,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, entries.data(), 4);
    if (!texts.empty()) png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
    // Row filters rarely pay for palette pictures and cost time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    png_set_packing(png);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

base::FileWriteResult WriteTilePng(const std::string& path, const TilePixels& pixels, const TilePalette& palette,
                                   const TilePlace& place) {
    return base::WriteFileAtomically(path, EncodeTilePng(pixels, palette, place));
}

std::variant<std::vector<std::uint8_t>, ImportRefusal> ReadPictureFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const base::ReadResult read = base::ReadRegularFile(path, bytes);
    if (read.status == base::ReadStatus::Missing) return ImportRefusal{"File does not exist."};
    if (!read) return ImportRefusal{"The file could not be read: " + read.reason + "."};
    return bytes;
}

std::variant<PngPicture, ImportRefusal> DecodePng(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return ImportRefusal{"It is not a PNG picture."};
    std::string error;
    PngPicture picture;
    std::vector<png_bytep> rows;
    MemoryReader reader{bytes.data(), bytes.size(), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return ImportRefusal{"The PNG picture could not be read: " + error + "."};
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    ReadPixels(png, info, picture, rows);
    const std::string placeProblem = ReadPlace(png, info, picture.place);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!placeProblem.empty()) return ImportRefusal{placeProblem};
    return picture;
}

std::variant<TilePixels, ImportRefusal> PixelValuesOf(const PngPicture& picture, const TilePalette& palette,
                                                      bool nearest) {
    TilePixels pixels{picture.width, picture.height, {}};
    pixels.values.resize(static_cast<std::size_t>(picture.width) * picture.height);
    const std::array<Rgb, 4> entries{palette.ForPixel(0), palette.ForPixel(1), palette.ForPixel(2),
                                     palette.ForPixel(3)};
    for (std::size_t i = 0; i < pixels.values.size(); ++i) {
        const int x = static_cast<int>(i % picture.width), y = static_cast<int>(i / picture.width);
        if (picture.indexed) {
            const std::uint8_t index = picture.samples[i];
            if (index > 3) {
                return ImportRefusal{PixelText(x, y) + " has the palette index " + std::to_string(index) +
                                     "; tiles take only 0 to 3."};
            }
            pixels.values[i] = index;
            continue;
        }
        const std::uint8_t* rgb = &picture.samples[3 * i];
        int value = 0;
        while (value < 4 && !(entries[value] == Rgb{rgb[0], rgb[1], rgb[2]})) ++value;
        if (value == 4 && !nearest) {
            return ImportRefusal{
                PixelText(x, y) + " has the colour " + ColourText(rgb) + ", which is in no entry of the palette.",
                true};
        }
        pixels.values[i] = value < 4 ? static_cast<std::uint8_t>(value) : NearestValue(entries, rgb);
    }
    return pixels;
}

std::variant<TileImport, ImportRefusal> ImportTiles(std::span<const std::uint8_t> rom,
                                                    std::span<const std::uint8_t> png, const TilePalette& palette,
                                                    const PlaceDefault& fallback, bool nearest) {
    auto decoded = DecodePng(png);
    if (auto* refusal = std::get_if<ImportRefusal>(&decoded)) return *refusal;
    const PngPicture& picture = std::get<PngPicture>(decoded);
    if (picture.width % kTileSize != 0 || picture.height % kTileSize != 0) {
        return ImportRefusal{"The picture is " + std::to_string(picture.width) + " x " +
                             std::to_string(picture.height) + " pixels, not a whole number of 8 x 8 tiles."};
    }
    TileBlock block{picture.place.offset.value_or(fallback.offset), 0, picture.width / kTileSize,
                    picture.height / kTileSize};
    block.width = picture.place.width.value_or(fallback.width.value_or(block.columns));
    if (block.columns > block.width) {
        return ImportRefusal{"The picture is " + std::to_string(block.columns) + " tiles wide; a row of width " +
                             std::to_string(block.width) + " holds fewer."};
    }
    if (const std::int64_t end = BlockEnd(block); end > static_cast<std::int64_t>(rom.size())) {
        return ImportRefusal{"At offset " + std::to_string(block.offset) + ", width " + std::to_string(block.width) +
                             ", its tiles would reach byte " + std::to_string(end) + ", past the end of the ROM (" +
                             std::to_string(rom.size()) + " bytes)."};
    }
    auto values = PixelValuesOf(picture, palette, nearest);
    if (auto* refusal = std::get_if<ImportRefusal>(&values)) return *refusal;
    TileImport result{std::vector<std::uint8_t>(rom.begin(), rom.end()), block, {}, picture.place.romName};
    result.changes = WriteTiles(result.rom, block, std::get<TilePixels>(values));
    return result;
}

std::string ChangesText(const TileChanges& changes) {
    return Counted(static_cast<std::int64_t>(changes.tiles.size())) + " tiles (" + Counted(changes.bytes) +
           " bytes) changed";
}

}  // namespace kestro::tiles
