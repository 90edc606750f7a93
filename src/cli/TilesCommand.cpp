// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits>
#include <ostream>

#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "tiles/ImageFile.h"
#include "tiles/PaletteFile.h"
#include "tiles/TileNavigation.h"
#include "tiles/TileRender.h"

namespace kestro::cli {

namespace {

struct TilesOptions {
    std::string file;
    std::string output;
    std::string offset = "0";
    std::string width = std::to_string(tiles::kViewColumns);
    std::string palette;
    CLI::Option* paletteOption = nullptr;
};

constexpr std::int64_t kLargestOffset = std::numeric_limits<std::int64_t>::max();

// The first thing wrong with the options, in one line; empty when none is.
std::string Problem(const TilesOptions& o) {
    if (o.output.empty()) return "--out: give the picture's file name, or - for standard output.";
    if (o.paletteOption->count() > 0 && o.palette.empty()) return "--palette: give a palette file's name.";
    if (!ParseWholeOption(o.offset, 0, kLargestOffset))
        return WholeOptionProblem("--offset", o.offset, 0, kLargestOffset);
    if (!ParseWholeOption(o.width, 1, tiles::kMaxViewWidth)) {
        return WholeOptionProblem("--width", o.width, 1, tiles::kMaxViewWidth);
    }
    return {};
}

void AddOptions(CLI::App& command, TilesOptions& o) {
    command.add_option("FILE", o.file, "The ROM image (.vb)")->required();
    command
        .add_option("--out", o.output,
                    "The picture to write: a Windows bitmap, or PNG when it ends in .png; - writes the bitmap to "
                    "standard output. Anything but a regular file there (a device, a pipe) is refused.")
        ->required()
        ->type_name("OUT");
    command
        .add_option("--offset", o.offset,
                    "Where the view starts, in bytes (default 0); past the end it is the end. Decimal, or "
                    "hexadecimal after 0x (0x1F000)")
        ->type_name("N");
    command
        .add_option("--width", o.width,
                    "Tiles per row, 1 to 32767 (default 48); the first 48 are shown. Decimal, or hexadecimal "
                    "after 0x")
        ->type_name("W");
    o.paletteOption = command.add_option("--palette", o.palette,
                                         "A palette file (.pvb) to draw in; without it the viewer's default red "
                                         "shades");
}

}  // namespace

int TilesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Writes a ROM image's bytes as Virtual Boy tiles, exactly as the tile viewer draws them: 48 x 28 tiles, "
        "384 x 224 pixels, from an offset and a width in tiles.",
        "kestro tiles"};
    TilesOptions options;
    AddOptions(command, options);
    if (auto status = ParseCommand(command, args, out, err)) return *status;
    if (const std::string problem = Problem(options); !problem.empty()) {
        err << "kestro tiles: " << problem << '\n';
        return kExitUsage;
    }

    auto opened = rom::OpenRom(options.file);
    if (!opened.Accepted()) {
        err << "kestro tiles: " << options.file << ": " << MessageLine(opened.message) << '\n';
        return kExitRefused;
    }
    tiles::TilePalette palette = tiles::kVbPalette;
    if (!options.palette.empty()) {
        auto read = tiles::ReadPaletteFile(options.palette);
        if (const auto* refusal = std::get_if<base::Message>(&read)) {
            err << "kestro tiles: " << options.palette << ": " << MessageLine(*refusal) << '\n';
            return kExitRefused;
        }
        palette = std::get<tiles::TilePalette>(read);
    }
    const std::int64_t offset = *ParseWholeOption(options.offset, 0, kLargestOffset);
    const std::int64_t width = *ParseWholeOption(options.width, 1, tiles::kMaxViewWidth);
    const tiles::TileView view{tiles::PulledBackOffset(offset, opened.image.size), width};
    tiles::PixelImage image;
    tiles::RenderView(opened.image.data, view, palette, tiles::kSurfaceColour, image);
    if (options.output == "-") {
        // The picture alone goes to standard output, so that it can be piped.
        const std::vector<std::uint8_t> bytes = tiles::EncodeBmp(image);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? kExitOk : kExitRefused;
    }
    if (auto written = tiles::WriteImageFile(options.output, image, tiles::FormatForPath(options.output)); !written) {
        err << "kestro tiles: " << written.reason << '\n';
        return kExitRefused;
    }
    out << "Wrote " << options.output << ": offset " << view.offset << ", width " << view.width << ".\n";
    return kExitOk;
}

}  // namespace kestro::cli
