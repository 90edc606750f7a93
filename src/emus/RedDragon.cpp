// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/RedDragon.h"

#include <algorithm>
#include <cmath>

#include "base/NumericText.h"
#include "base/Paths.h"
#include "base/SettingsKeys.h"
#include "help/HelpTopics.h"

namespace kestro::emus {

namespace {

template <typename List>
int ClampIndex(int value, const List& list) {
    return std::clamp(value, 0, static_cast<int>(list.size()) - 1);
}

int LeadingWhole(std::string_view text) {
    return static_cast<int>(std::nearbyint(base::NumericValue(text)));
}

}  // namespace

std::vector<std::string> ScreenSizesFor(int index) {
    if (index < 0 || index >= static_cast<int>(kRedDragonScreenModes.size())) return {};
    const ScreenSizeList list = kRedDragonScreenModes[static_cast<std::size_t>(index)].sizes;
    std::vector<std::string> sizes;
    if (list == ScreenSizeList::DirectDraw) {
        sizes.assign(kDirectDrawScreenSizes.begin(), kDirectDrawScreenSizes.end());
    } else {
        sizes.assign(kGeneralScreenSizes.begin(), kGeneralScreenSizes.end());
        if (list == ScreenSizeList::GeneralAndGdi) sizes.emplace_back(kGdiScreenSize);
    }
    return sizes;
}

std::optional<int> ScreenModeForCode(int code) {
    if (code == kRedDragonScreenModes[1].code || code == kRedDragonScreenModes[2].code) return std::nullopt;
    for (std::size_t i = 0; i < kRedDragonScreenModes.size(); ++i) {
        if (kRedDragonScreenModes[i].code == code) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string ScreenSizeText(int width, int height) {
    std::string w = std::to_string(width);
    if (w.size() < 4) w.insert(0, 4 - w.size(), ' ');
    return w + "x" + std::to_string(height);
}

int ScreenWidthOf(std::string_view entry) {
    return LeadingWhole(entry.substr(0, 4));
}

int ScreenHeightOf(std::string_view entry) {
    return entry.size() <= 5 ? 0 : LeadingWhole(entry.substr(5));
}

void SelectScreenMode(RedDragonForm& form, int index) {
    if (index == form.screenMode) return;
    form.screenMode = index;
    form.sizes = ScreenSizesFor(index);
    form.screenSize = -1;
}

bool SelectScreenSize(RedDragonForm& form, std::string_view text) {
    const auto it = std::find(form.sizes.begin(), form.sizes.end(), text);
    if (it == form.sizes.end()) return false;
    form.screenSize = static_cast<int>(it - form.sizes.begin());
    return true;
}

void RevertToDefault(RedDragonForm& form) {
    SelectScreenMode(form, 0);
    SelectScreenSize(form, kDefaultScreenSize);
    form.colourDepth = 0;
    form.frameSkip = 0;
    form.displayMode = 0;
    form.brightnessHack = 0;
    form.palette = 0;
    form.swap3D = false;
    form.version = 0;
}

void ShowOptions(RedDragonForm& form, const RedDragonOptions& options, bool appendMissing) {
    form.colourDepth = 0;
    form.brightnessHack = 0;
    const std::string size = ScreenSizeText(options.screenWidth, options.screenHeight);
    if (const auto mode = ScreenModeForCode(options.screenMode)) SelectScreenMode(form, *mode);
    if (!SelectScreenSize(form, size) && appendMissing) {
        form.sizes.push_back(size);
        form.screenSize = static_cast<int>(form.sizes.size()) - 1;
    }
    // Values from the file are not trusted to fit their lists.
    form.frameSkip = std::clamp(options.frameSkip, 0, kRedDragonMaxFrameSkip);
    form.displayMode = ClampIndex(options.displayMode, kRedDragonDisplayModes);
    form.palette = ClampIndex(options.palette, kRedDragonPalettes);
    form.swap3D = options.swap3D != 0;
    form.version = ClampIndex(options.platform, kRedDragonVersions);
}

RedDragonForm OpenedForm(const std::optional<RedDragonOptions>& read) {
    RedDragonForm form;
    if (!read) RevertToDefault(form);
    ShowOptions(form, read.value_or(RedDragonOptions{}), true);
    return form;
}

RedDragonOptions OptionsFromForm(const RedDragonForm& form, const RedDragonKeys& keys) {
    RedDragonOptions options;
    options.platform = form.version;
    options.frameSkip = form.frameSkip;
    options.displayMode = form.displayMode;
    options.swap3D = form.swap3D ? 1 : 0;
    options.palette = form.palette;
    const bool sized = form.screenSize >= 0 && form.screenSize < static_cast<int>(form.sizes.size());
    const std::string_view size = sized ? std::string_view(form.sizes[static_cast<std::size_t>(form.screenSize)]) : "";
    options.screenWidth = ScreenWidthOf(size);
    options.screenHeight = ScreenHeightOf(size);
    const bool moded = form.screenMode >= 0 && form.screenMode < static_cast<int>(kRedDragonScreenModes.size());
    options.screenMode = moded ? kRedDragonScreenModes[static_cast<std::size_t>(form.screenMode)].code : 0;
    options.keys = keys;
    return options;
}

PreparedRun RedDragonRun(const std::string& directory, const std::optional<std::string>& rom,
                         const RedDragonOptions& options) {
    const std::string name(kRedDragonProgram);
    PreparedRun run;
    run.emulator = "Red Dragon";
    run.commandLine = base::ShortProgramPath(directory, name);
    run.request.program = base::JoinPath(directory, name);
    run.request.workingDirectory = directory;
    if (rom) {
        const std::string shortRom = base::GetShortPath(*rom);
        run.commandLine += " " + shortRom;
        if (!shortRom.empty()) {
            run.request.arguments.push_back(shortRom);
            run.request.pathArguments.push_back(0);
        }
    }
    run.files.push_back({RedDragonOptionsPath(directory), RedDragonOptionsText(options)});
    return run;
}

PreparedRun PrepareRedDragonPlay(const base::SettingsStore& settings, const std::optional<std::string>& rom) {
    const std::string directory = base::ReadText(settings, base::keys::Programs[2].directory);
    const auto read = ReadRedDragonOptions(RedDragonOptionsPath(directory));
    const RedDragonKeys keys = read ? read->keys : RedDragonKeys{};
    PreparedRun run = RedDragonRun(directory, rom, OptionsFromForm(OpenedForm(read), keys));
    if (rom) {
        if (auto refused = CheckRomToRun(*rom)) run.refusal = refused;
    }
    return run;
}

std::string RedDragonHelpText() {
    return help::JoinParagraphs({
        "Red Dragon Frontend:",
        "This window prepares the options of the Red Dragon emulator and starts it. Red Dragon reads its "
        "options from the file options.dat in its own directory: the window shows that file's values when it "
        "opens and writes the file anew from the controls each time Red Dragon is run.",
        "ROM to run: choose a ROM image with \"Select ROM...\", or pick one of the recently used ROMs from the "
        "list. Red Dragon can also be run without a ROM.",
        "Graphics Mode: the screen mode, the screen size it offers, and the colour depth. A size the file "
        "holds that the mode does not offer is added to the end of the list.",
        "Emulation Options: the Windows or DOS version of Red Dragon, the frame skip (0 to 9; the slider's tip "
        "shows its value), the 3D display mode, the brightness hack, the colour palette, and Swap 3D, which "
        "swaps the left and right pictures.",
        "Revert Settings shows the values of the options file again, as they were when the window opened; "
        "Revert to Default shows the default options. Neither writes the file.",
        "Control Configuration sets the keys of the controller; they are written with the other options at the "
        "next run.",
        "Red Dragon is looked for in the directory set in the Kestro Utils options, as RDRAGON.EXE; on Linux a "
        "Windows program runs through Wine and a DOS program through DOSBox, started in Red Dragon's own "
        "directory.",
    });
}

}  // namespace kestro::emus
