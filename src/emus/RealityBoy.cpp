// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/RealityBoy.h"

#include <algorithm>
#include <cmath>

#include "base/NumericText.h"
#include "base/Paths.h"
#include "base/SettingsKeys.h"
#include "help/HelpTopics.h"

namespace kestro::emus {

namespace {

namespace keys = base::keys;

constexpr int Last(std::size_t size) {
    return static_cast<int>(size) - 1;
}

// The blank-separated words of option texts, as a program receives them.
void AppendWords(std::vector<std::string>& words, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
}

}  // namespace

RealityBoyOptions ReadRealityBoyOptions(const base::SettingsStore& store) {
    RealityBoyOptions o;
    o.displayMode =
        std::clamp(base::ReadWhole(store, keys::RealityBoyDisplayMode), 0, Last(kRealityBoyDisplayModes.size()));
    o.resolution =
        std::clamp(base::ReadWhole(store, keys::RealityBoyResolution), 0, Last(kRealityBoyResolutions.size()));
    o.palette = std::clamp(base::ReadWhole(store, keys::RealityBoyPalette), 0, Last(kRealityBoyPalettes.size()));
    o.frameSkip = std::clamp(base::ReadWhole(store, keys::RealityBoyFrameSkip), 0, kRealityBoyMaxFrameSkip);
    o.brightness = std::clamp(base::ReadWhole(store, keys::RealityBoyBrightness), 0, kRealityBoyMaxBrightness);
    o.ignorePalette = base::ReadYesNo(store, keys::RealityBoyIgnorePalette);
    o.flip = base::ReadYesNo(store, keys::RealityBoyFlip3D);
    return o;
}

RealityBoyOptions AsShown(RealityBoyOptions options) {
    options.palette = ApplyDisplayMode(options.displayMode, options.palette).palette;
    return options;
}

void SaveRealityBoyOptions(base::SettingsStore& store, const RealityBoyOptions& o) {
    base::WriteWhole(store, keys::RealityBoyDisplayMode, o.displayMode);
    base::WriteWhole(store, keys::RealityBoyResolution, o.resolution);
    base::WriteWhole(store, keys::RealityBoyPalette, o.palette);
    base::WriteWhole(store, keys::RealityBoyFrameSkip, o.frameSkip);
    base::WriteWhole(store, keys::RealityBoyBrightness, o.brightness);
    base::WriteYesNo(store, keys::RealityBoyIgnorePalette, o.ignorePalette);
    base::WriteYesNo(store, keys::RealityBoyFlip3D, o.flip);
}

PaletteRule ApplyDisplayMode(int mode, int palette) {
    PaletteRule rule;
    rule.palette = palette;
    if (mode == 2) rule.palette = 3;  // Red/Green glasses: the Red/Green palette
    auto allow = [&](int first, int last, int fallback) {
        for (int p = 0; p < static_cast<int>(rule.enabled.size()); ++p) rule.enabled[p] = p >= first && p <= last;
        if (rule.palette < first || rule.palette > last) rule.palette = fallback;
    };
    switch (mode) {
        case 0:
        case 3:
        case 4:
        case 5:
        case 6: allow(0, 1, 0); break;
        case 1: allow(2, 4, 2); break;
        case 2: allow(2, 4, 3); break;
        default: rule.enabled.fill(true); break;
    }
    return rule;
}

NumericEntry NormaliseEntry(std::string_view text, int upperBound) {
    NumericEntry entry;
    entry.text = base::NormalisedNumberText(text, 0.0, static_cast<double>(upperBound));
    // A whole number for the scroll bar, halves to even as the design's rounding does.
    entry.scrollValue = entry.text.empty() ? 0 : static_cast<int>(std::nearbyint(base::NumericValue(entry.text)));
    return entry;
}

std::string RealityBoyProgramName(const std::string& directory) {
    const bool found = base::FindFileNoCase(directory, std::string(kRealityBoyProgram) + ".EXE").has_value();
    return std::string(found ? kRealityBoyProgram : kRealityBoyFallbackProgram);
}

PreparedRun RealityBoyRun(const std::string& directory, const std::string& rom, const RealityBoyOptions& o,
                          bool debug) {
    const std::string name = RealityBoyProgramName(directory);
    const std::string shortRom = base::GetShortPath(rom);
    std::string options;
    options += kRealityBoyResolutions.at(static_cast<std::size_t>(o.resolution)).option;
    options += kRealityBoyDisplayModes.at(static_cast<std::size_t>(o.displayMode)).option;
    options += " -frmskip " + std::to_string(o.frameSkip);
    options += kRealityBoyPalettes.at(static_cast<std::size_t>(o.palette)).option;
    options += " -brite " + std::to_string(o.brightness);
    if (o.flip) options += " -flip";
    if (debug) options += " -debug";
    if (o.ignorePalette) options += " -fixpal";

    PreparedRun run;
    run.emulator = "Reality Boy";
    run.commandLine = base::ShortProgramPath(directory, name) + " " + shortRom + options;
    run.request.program = base::JoinPath(directory, name);
    if (!shortRom.empty()) {
        run.request.arguments.push_back(shortRom);
        run.request.pathArguments.push_back(0);
    }
    AppendWords(run.request.arguments, options);
    return run;
}

PreparedRun PrepareRealityBoyPlay(const base::SettingsStore& settings, const std::optional<std::string>& rom,
                                  bool debug) {
    const std::string directory = base::ReadText(settings, keys::Programs[0].directory);
    PreparedRun run = RealityBoyRun(directory, rom.value_or(""), AsShown(ReadRealityBoyOptions(settings)), debug);
    if (!rom) {
        run.refusal = SelectRomMessage();
    } else if (auto refused = CheckRomToRun(*rom)) {
        run.refusal = refused;
    }
    return run;
}

std::string RealityBoyHelpText() {
    return help::JoinParagraphs({
        "Reality Boy Frontend:",
        "This window starts the Reality Boy emulator on a Virtual Boy ROM image, with the display options "
        "chosen here passed to it on its command line.",
        "ROM to run: choose a ROM image with \"Select ROM...\", or pick one of the recently used ROMs from the "
        "list. The run buttons become available once a valid ROM image has been chosen.",
        "3D Display Mode: how the two pictures of the Virtual Boy are shown: without 3D, for red/blue or "
        "red/green glasses, interlaced for shutter glasses, over/under, side by side, or mirrored for the "
        "CyberScope. The glasses modes use the coloured palettes, the others the grey and red ones.",
        "Display Resolution: the screen mode Reality Boy uses; the VESA 2 modes need a VESA 2 display driver.",
        "Display Color Palette: the colours the game is drawn in.",
        "General Options: Flip 3D Effects swaps the left and right pictures; Ignore VB Palette Info draws "
        "with fixed shades instead of the game's own; Frame Skip (0 to 9) draws fewer frames on a slow "
        "computer; Brightness (0 to 127) sets how bright the picture is.",
        "Run Reality Boy starts the emulator; Run Reality Boy Debug Mode starts it with its debugger. Both use "
        "the options as they are shown, saved or not.",
        "Save Settings keeps the options for the next time; Revert Settings shows the saved options again; "
        "Revert to Default shows the default options (save them to keep them).",
        "Control Configuration shows the keys Reality Boy uses.",
        "Reality Boy is looked for in the directory set in the Kestro Utils options, as RBOY.EXE (or VB_98.EXE); "
        "on Linux a Windows program runs through Wine and a DOS program through DOSBox.",
    });
}

}  // namespace kestro::emus
