#include <charconv>
#include <ostream>

#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "rom/Identification.h"
#include "rom/TitleText.h"

namespace kestro::cli {

namespace {

struct HeaderOptions {
    std::string file;
    std::string title, titleHex, maker, gameCode, version;
    CLI::Option *titleOption = nullptr, *titleHexOption = nullptr, *makerOption = nullptr, *gameCodeOption = nullptr,
                *versionOption = nullptr;
    bool revert = false;
};

// The new fields, each set only when its option was given.
struct HeaderEdits {
    std::optional<std::string> title, maker, gameCode;
    std::optional<std::uint8_t> version;
};

void AddOptions(CLI::App& command, HeaderOptions& o) {
    command.add_option("FILE", o.file, "The ROM image to change (.vb)")->required();
    o.titleOption =
        command.add_option("--title", o.title, "New title, at most 20 characters (Japanese as half-width katakana)");
    o.titleHexOption = command.add_option("--title-hex", o.titleHex, "New title as its bytes in hexadecimal");
    o.titleOption->excludes(o.titleHexOption);
    o.makerOption = command.add_option("--maker", o.maker, "Maker code, at most 2 characters, upper-cased");
    o.gameCodeOption = command.add_option("--game-code", o.gameCode, "Game code, at most 4 characters, upper-cased");
    o.versionOption = command.add_option("--version", o.version, "Version byte 0-255, shown as 1.N (1.N is accepted)");
    command.add_flag("--revert", o.revert,
                     "First restore the header the identified dump should carry; refused for an unknown ROM");
}

std::optional<std::uint8_t> ParseVersion(std::string_view text) {
    if (text.starts_with("1.")) text.remove_prefix(2);
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value > 255) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

// A code as its box takes it: single-byte, upper-cased, limited in length.
std::optional<std::string> CodeField(const std::string& text, std::size_t width) {
    auto bytes = rom::Utf8ToTitle(text);
    if (!bytes || bytes->size() > width) return std::nullopt;
    return rom::UpperCaseCode(*bytes);
}

// The edits the options ask for, or the reason they cannot be made.
std::optional<HeaderEdits> ToEdits(const HeaderOptions& o, std::string& problem) {
    HeaderEdits edits;
    if (o.titleOption->count() > 0 || o.titleHexOption->count() > 0) {
        edits.title = o.titleOption->count() > 0 ? rom::Utf8ToTitle(o.title) : rom::BytesFromHex(o.titleHex);
        if (!edits.title) problem = "--title holds a character no title byte shows, or --title-hex is not hexadecimal.";
        if (edits.title && edits.title->size() > rom::kTitleLength) problem = "A title holds at most 20 characters.";
    }
    if (o.makerOption->count() > 0 && !(edits.maker = CodeField(o.maker, rom::kMakerLength))) {
        problem = "--maker takes at most 2 single-byte characters.";
    }
    if (o.gameCodeOption->count() > 0 && !(edits.gameCode = CodeField(o.gameCode, rom::kGameCodeLength))) {
        problem = "--game-code takes at most 4 single-byte characters.";
    }
    if (o.versionOption->count() > 0 && !(edits.version = ParseVersion(o.version))) {
        problem = "--version takes a number from 0 to 255 (or 1.0 to 1.255).";
    }
    if (problem.empty() && !o.revert && !edits.title && !edits.maker && !edits.gameCode && !edits.version) {
        problem = "Nothing to change: give --title, --title-hex, --maker, --game-code, --version or --revert.";
    }
    if (!problem.empty()) return std::nullopt;
    return edits;
}

void Apply(const HeaderEdits& edits, rom::RomHeader& header) {
    if (edits.title) header.title = *edits.title;
    if (edits.maker) header.makerCode = *edits.maker;
    if (edits.gameCode) header.gameCode = *edits.gameCode;
    if (edits.version) header.version = *edits.version;
}

}  // namespace

int HeaderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Changes a ROM image's header as the ROM information window's Save ROM does, and saves the file in "
        "place (atomically: an interrupted save leaves the old file). A refused file is left untouched.",
        "kestro header"};
    HeaderOptions options;
    AddOptions(command, options);
    if (auto status = ParseCommand(command, args, out, err)) return *status;
    std::string problem;
    auto edits = ToEdits(options, problem);
    if (!edits) {
        err << "kestro header: " << problem << '\n';
        return kExitUsage;
    }

    auto opened = rom::OpenRom(options.file);
    if (!opened.Accepted()) {
        err << "kestro header: " << options.file << ": " << MessageLine(opened.message) << '\n';
        return kExitRefused;
    }
    rom::RomHeader header = opened.image.Header();
    if (options.revert) {
        auto expected = rom::RevertHeader(rom::HeaderExcludedChecksum(opened.image.data));
        if (!expected) {
            err << "kestro header: " << options.file << ": " << rom::kUnknownRomName
                << ": not a known dump, so there is no original header to revert to. The file was left as it was.\n";
            return kExitRefused;
        }
        header = *expected;
    }
    Apply(*edits, header);
    rom::ApplyHeader(opened.image, header);
    if (auto written = rom::WriteImage(opened.image); !written) {
        err << "kestro header: " << MessageLine(rom::SaveFailedMessage(options.file, written.reason)) << '\n';
        return kExitRefused;
    }
    out << "Saved the header.\n";
    PrintRom(out, options.file, opened);
    return kExitOk;
}

}  // namespace kestro::cli
