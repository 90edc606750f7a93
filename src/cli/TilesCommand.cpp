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
    std::int64_t offset = 0;
    std::int64_t width = tiles::kViewColumns;
    std::string palette;
};

void AddOptions(CLI::App& command, TilesOptions& o) {
    command.add_option("FILE", o.file, "The ROM image (.vb)")->required();
    command.add_option("--out", o.output, "The picture to write: a Windows bitmap, or PNG when it ends in .png")
        ->required();
    command.add_option("--offset", o.offset, "Where the view starts, in bytes (default 0); past the end it is the end")
        ->check(CLI::NonNegativeNumber);
    command.add_option("--width", o.width, "Tiles per row, 1 to 32767 (default 48); the first 48 are shown")
        ->check(CLI::Range(std::int64_t{1}, std::int64_t{tiles::kMaxViewWidth}));
    command.add_option("--palette", o.palette,
                       "A palette file (.pvb) to draw in; without it the viewer's default red shades");
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
    const tiles::TileView view{tiles::PulledBackOffset(options.offset, opened.image.size), options.width};
    tiles::PixelImage image;
    tiles::RenderView(opened.image.data, view, palette, tiles::kSurfaceColour, image);
    if (auto written = tiles::WriteImageFile(options.output, image, tiles::FormatForPath(options.output)); !written) {
        err << "kestro tiles: " << written.reason << '\n';
        return kExitRefused;
    }
    out << "Wrote " << options.output << ": offset " << view.offset << ", width " << view.width << ".\n";
    return kExitOk;
}

}  // namespace kestro::cli
