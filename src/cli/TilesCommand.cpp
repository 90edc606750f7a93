// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits>
#include <ostream>

#include "base/Paths.h"
#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "tiles/ImageFile.h"
#include "tiles/PaletteFile.h"
#include "tiles/TileNavigation.h"
#include "tiles/TilePng.h"
#include "tiles/TileRender.h"

namespace kestro::cli {

namespace {

struct TilesOptions {
    std::string file;
    std::string output;
    std::string offset = "0";
    std::string width = std::to_string(tiles::kViewColumns);
    std::string rows = std::to_string(tiles::kViewRows);
    std::string palette;
    std::string import;
    bool nearest = false;
    CLI::Option* paletteOption = nullptr;
    CLI::Option* importOption = nullptr;
    CLI::Option* offsetOption = nullptr;
    CLI::Option* widthOption = nullptr;
    CLI::Option* rowsOption = nullptr;
};

constexpr std::int64_t kLargestOffset = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kLargestRows = 1 << 20;

bool WritesPng(const TilesOptions& o) {
    return tiles::FormatForPath(o.output) == tiles::ImageFormat::Png;
}

// What only an import, or only a PNG picture, takes.
std::string ModeProblem(const TilesOptions& o) {
    if (o.importOption->count() > 0) {
        if (o.import.empty()) return "--import: give the PNG picture's file name.";
        if (o.output == "-") return "--out: give the new ROM's file name; it is not written to standard output.";
        if (o.rowsOption->count() > 0) return "--rows: an imported picture's height gives its rows.";
        return {};
    }
    if (o.nearest) return "--nearest: only an import takes it.";
    if (o.rowsOption->count() > 0 && !WritesPng(o)) return "--rows: only a PNG picture takes other rows than 28.";
    return {};
}

// The first thing wrong with the options, in one line; empty when none is.
std::string Problem(const TilesOptions& o) {
    if (o.output.empty()) return "--out: give the picture's file name, or - for standard output.";
    if (o.paletteOption->count() > 0 && o.palette.empty()) return "--palette: give a palette file's name.";
    if (std::string mode = ModeProblem(o); !mode.empty()) return mode;
    if (!ParseWholeOption(o.offset, 0, kLargestOffset))
        return WholeOptionProblem("--offset", o.offset, 0, kLargestOffset);
    if (!ParseWholeOption(o.width, 1, tiles::kMaxViewWidth)) {
        return WholeOptionProblem("--width", o.width, 1, tiles::kMaxViewWidth);
    }
    if (!ParseWholeOption(o.rows, 1, kLargestRows)) return WholeOptionProblem("--rows", o.rows, 1, kLargestRows);
    return {};
}

void AddOptions(CLI::App& command, TilesOptions& o) {
    command.add_option("FILE", o.file, "The ROM image (.vb)")->required();
    command
        .add_option("--out", o.output,
                    "The picture to write: a Windows bitmap, or an indexed PNG when it ends in .png (pixel values "
                    "0-3 in the palette's colours, with the ROM's name, the offset and the width kept in it); - "
                    "writes the bitmap to standard output. With --import, the new ROM. Anything but a regular "
                    "file there (a device, a pipe) is refused.")
        ->required()
        ->type_name("OUT");
    o.offsetOption = command
                         .add_option("--offset", o.offset,
                                     "Where the view starts, in bytes (default 0); past the end it is the end. "
                                     "Decimal, or hexadecimal after 0x (0x1F000)")
                         ->type_name("N");
    o.widthOption = command
                        .add_option("--width", o.width,
                                    "Tiles per row, 1 to 32767 (default 48); the first 48 are shown. Decimal, or "
                                    "hexadecimal after 0x")
                        ->type_name("W");
    o.rowsOption = command
                       .add_option("--rows", o.rows,
                                   "Tile rows of a PNG picture (default 28); it ends at the last row whose tiles "
                                   "all lie inside the ROM")
                       ->type_name("R");
    o.paletteOption = command.add_option("--palette", o.palette,
                                         "A palette file (.pvb) to draw in, or to read an imported picture's "
                                         "colours in; without it the viewer's default red shades");
    o.importOption = command
                         .add_option("--import", o.import,
                                     "Writes an edited PNG picture's tiles into the ROM and the new ROM to --out, "
                                     "at the place the picture recorded, else at --offset and --width (default: "
                                     "as many tiles a row as the picture is wide)")
                         ->type_name("PNG");
    command.add_flag("--nearest", o.nearest,
                     "With --import: a colour that is in no palette entry takes the nearest entry instead of being "
                     "refused");
}

int Import(const TilesOptions& o, const rom::RomOpenResult& opened, const tiles::TilePalette& palette,
           std::ostream& out, std::ostream& err) {
    auto refused = [&](const tiles::ImportRefusal& refusal) {
        err << "kestro tiles: " << o.import << ": " << refusal.reason
            << (refusal.colourOutsidePalette ? " --nearest takes the nearest entry for it." : "") << '\n';
        return kExitRefused;
    };
    auto picture = tiles::ReadPictureFile(o.import);
    if (const auto* refusal = std::get_if<tiles::ImportRefusal>(&picture)) return refused(*refusal);
    tiles::PlaceDefault fallback{*ParseWholeOption(o.offset, 0, kLargestOffset), std::nullopt};
    if (o.widthOption->count() > 0) fallback.width = *ParseWholeOption(o.width, 1, tiles::kMaxViewWidth);
    auto imported = tiles::ImportTiles(opened.image.data, std::get<std::vector<std::uint8_t>>(picture), palette,
                                       fallback, o.nearest);
    if (const auto* refusal = std::get_if<tiles::ImportRefusal>(&imported)) return refused(*refusal);
    const auto& result = std::get<tiles::TileImport>(imported);
    if (auto written = base::WriteFileAtomically(o.output, result.rom); !written) {
        err << "kestro tiles: " << written.reason << '\n';
        return kExitRefused;
    }
    out << "Wrote " << o.output << ": " << tiles::ChangesText(result.changes) << " at offset " << result.block.offset
        << ", width " << result.block.width << ".\n";
    return kExitOk;
}

int ExportPng(const TilesOptions& o, const rom::RomOpenResult& opened, const tiles::TilePalette& palette,
              const tiles::TileView& view, std::ostream& out, std::ostream& err) {
    const auto rows = static_cast<int>(*ParseWholeOption(o.rows, 1, kLargestRows));
    const tiles::TileBlock block = tiles::WholeRowsOf(view, rows, opened.image.size);
    if (block.rows == 0) {
        err << "kestro tiles: at offset " << view.offset << " not one row of " << block.columns
            << " tiles lies inside the ROM.\n";
        return kExitRefused;
    }
    const tiles::TilePlace place{base::FileNameOf(o.file), block.offset, block.width};
    if (auto written = tiles::WriteTilePng(o.output, tiles::ReadTiles(opened.image.data, block), palette, place);
        !written) {
        err << "kestro tiles: " << written.reason << '\n';
        return kExitRefused;
    }
    out << "Wrote " << o.output << ": offset " << view.offset << ", width " << view.width << ", " << block.columns
        << " x " << block.rows << " tiles.\n";
    return kExitOk;
}

}  // namespace

int TilesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Writes a ROM image's bytes as Virtual Boy tiles, exactly as the tile viewer draws them: 48 x 28 tiles, "
        "384 x 224 pixels, from an offset and a width in tiles. A PNG picture keeps the tiles' own values 0-3, "
        "so that an edited one can be imported back with --import.",
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
    if (options.importOption->count() > 0) return Import(options, opened, palette, out, err);
    const std::int64_t offset = *ParseWholeOption(options.offset, 0, kLargestOffset);
    const std::int64_t width = *ParseWholeOption(options.width, 1, tiles::kMaxViewWidth);
    const tiles::TileView view{tiles::PulledBackOffset(offset, opened.image.size), width};
    if (options.output != "-" && WritesPng(options)) return ExportPng(options, opened, palette, view, out, err);
    tiles::PixelImage image;
    tiles::RenderView(opened.image.data, view, palette, tiles::kSurfaceColour, image);
    if (options.output == "-") {
        // The picture alone goes to standard output, so that it can be piped.
        const std::vector<std::uint8_t> bytes = tiles::EncodeBmp(image);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? kExitOk : kExitRefused;
    }
    if (auto written = tiles::WriteBitmapFile(options.output, image); !written) {
        err << "kestro tiles: " << written.reason << '\n';
        return kExitRefused;
    }
    out << "Wrote " << options.output << ": offset " << view.offset << ", width " << view.width << ".\n";
    return kExitOk;
}

}  // namespace kestro::cli
