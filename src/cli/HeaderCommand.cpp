// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
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
    o.versionOption = command.add_option(
        "--version", o.version, "Version byte 0-255, shown as 1.N (1.N is accepted); decimal, or hexadecimal after 0x");
    command.add_flag("--revert", o.revert,
                     "First restore the header the identified dump should carry; refused for an unknown ROM");
}

std::optional<std::uint8_t> ParseVersion(std::string_view text) {
    if (text.starts_with("1.")) text.remove_prefix(2);
    auto value = ParseWholeOption(text, 0, 255);
    if (!value) return std::nullopt;
    return static_cast<std::uint8_t>(*value);
}

// The first character of the text that no title byte shows, for the message.
std::string FirstUnshownCharacter(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        const std::string_view one = utf8.substr(i, length);
        if (!rom::Utf8ToTitle(one)) {
            if ((lead >= 0x80 && lead < 0xC0) || one.size() < length) return "a byte that is not UTF-8";
            char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(one[k]) & 0x3F);
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
            return "\"" + std::string(one) + "\" (" + code + ")";
        }
        i += length;
    }
    return {};
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
        const bool fromText = o.titleOption->count() > 0;
        edits.title = fromText ? rom::Utf8ToTitle(o.title) : rom::BytesFromHex(o.titleHex);
        if (!edits.title && fromText) {
            problem = "--title: " + FirstUnshownCharacter(o.title) +
                      " has no title byte; a title takes ASCII and half-width katakana.";
        }
        if (!edits.title && !fromText) problem = "--title-hex: \"" + o.titleHex + "\" is not bytes in hexadecimal.";
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
