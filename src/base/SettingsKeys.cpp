// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SettingsKeys.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>

namespace kestro::base {

std::string DefaultDirectory() {
#if defined(_WIN32)
    return "C:\\";
#else
    const char* home = std::getenv("HOME");
    std::string dir = (home != nullptr && *home != '\0') ? home : "/";
    if (dir.back() != '/') dir += '/';
    return dir;
#endif
}

std::string DefaultText(const SettingKey& key) {
    if (key.kind == SettingKind::Directory) return DefaultDirectory();
    return std::string(key.defaultText);
}

std::string YesNoText(bool value) {
    return value ? "True" : "False";
}

std::string WholeText(int value) {
    return std::to_string(value);
}

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool ParseYesNo(std::string_view text, bool fallback) {
    text = Trim(text);
    if (EqualsNoCase(text, "True")) return true;
    if (EqualsNoCase(text, "False")) return false;
    double number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec == std::errc() && end == text.data() + text.size() && !text.empty()) return number != 0;
    return fallback;
}

int ParseWhole(std::string_view text, int fallback) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return fallback;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        return fallback;
    }
    return static_cast<int>(value);
}

std::string ReadText(const SettingsStore& store, const SettingKey& key) {
    return store.Read(std::string(key.key), DefaultText(key));
}

bool ReadYesNo(const SettingsStore& store, const SettingKey& key) {
    const bool fallback = ParseYesNo(key.defaultText, false);
    auto stored = store.Find(std::string(key.key));
    return stored ? ParseYesNo(*stored, fallback) : fallback;
}

int ReadWhole(const SettingsStore& store, const SettingKey& key) {
    const int fallback = ParseWhole(key.defaultText, 0);
    auto stored = store.Find(std::string(key.key));
    if (!stored) return fallback;
    std::string_view text = Trim(*stored);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) return text.front() == '-' ? key.low : key.high;
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return fallback;
    // Out of range: the nearest value the program can use, not the default.
    return static_cast<int>(std::clamp<long long>(value, key.low, key.high));
}

std::vector<SettingKey> AllSettingKeys() {
    std::vector<SettingKey> all{keys::VersionNumber, keys::MainMenuTheme, keys::ThemeColours,
                                keys::BaseDirectory, keys::AutoDetectRom, keys::RecentRomsNumber};
    all.insert(all.end(), keys::RecentRom.begin(), keys::RecentRom.end());
    all.push_back(keys::TileDisplayMode);
    all.push_back(keys::AutoUpdateViewer);
    for (const auto& colour : keys::TileColour) all.insert(all.end(), colour.begin(), colour.end());
    for (const auto& program : keys::Programs) {
        all.push_back(program.enabled);
        all.push_back(program.directory);
    }
    for (const SettingKey& key :
         {keys::DetailedRomLists, keys::RenameRoms, keys::MoveRoms, keys::CreateChangeLog, keys::RealityBoyDisplayMode,
          keys::RealityBoyResolution, keys::RealityBoyPalette, keys::RealityBoyFrameSkip, keys::RealityBoyBrightness,
          keys::RealityBoyIgnorePalette, keys::RealityBoyFlip3D, keys::MednafenEnabled, keys::MednafenProgram}) {
        all.push_back(key);
    }
    return all;
}

std::vector<SettingDescription> DescribedSettingKeys() {
    struct Meaning {
        std::string_view key;
        std::string_view meaning;
    };
    static constexpr std::string_view kTileColour[] = {
        "Red, green and blue of the lightest tile colour (pixel value 3)",
        "Red, green and blue of the second-lightest tile colour (pixel value 2)",
        "Red, green and blue of the second-darkest tile colour (pixel value 1)",
        "Red, green and blue of the darkest tile colour (pixel value 0)"};
    static constexpr Meaning kMeanings[] = {
        {"Version Number", "Version of the settings; kept as it is read"},
        {"VB Main Menu Theme", "The main window imitates the Virtual Boy's own menu (\"Virtual Boy main menu\")"},
        {"VB Theme Colours", "That menu in greyscale (True) or in red (False)"},
        {"Base Directory", "Where ROM dialogs and the VB ROM Database start"},
        {"Auto Detect ROM", "Identify a ROM as soon as ROM information opens it"},
        {"Recent ROMs number", "How many recently used ROMs the File menus offer; 0 switches the list off"},
        {"Recent ROM", "The recently used ROMs, full paths, #1 the latest"},
        {"Tile Display Mode", "Tile viewer display mode: 0 tiles, 1 linear (the viewer sets 0 when it opens)"},
        {"AutoUpdate Viewer", "Redraw the tile view after every step"},
        {"Enabled", "Whether the program is offered in the menus and choosers (kestro play refuses it when not)"},
        {"Directory", "The directory holding the program"},
        {"Detailed ROM Lists", "VB ROM Database: \"Detailed ROM Lists\""},
        {"Rename ROMs", "VB ROM Database: \"Rename ROMs\""},
        {"Move ROMs", "VB ROM Database: \"Move ROMs\" into VBoyRen"},
        {"Create Change Log", "VB ROM Database: \"Create Change Log\""},
        {"Collection DAT File", "The DAT file the VB ROM Database identifies against; empty for the built-in table"},
        {"Reality Boy Display Mode", "Reality Boy: display mode (list position)"},
        {"Reality Boy Resolution", "Reality Boy: resolution (list position)"},
        {"Reality Boy Palette", "Reality Boy: palette (list position)"},
        {"Reality Boy Frame Skip", "Reality Boy: frames skipped"},
        {"Reality Boy Brightness", "Reality Boy: brightness"},
        {"Reality Boy Ignore Palette", "Reality Boy: fixed palette"},
        {"Reality Boy Flip 3D Effects", "Reality Boy: flip 3D effects"},
        {"Tile Viewer Zoom", "Tile viewer: screen pixels per pixel of the view, 1 to 4"},
        {"Mednafen Program", "The Mednafen program; empty: mednafen on PATH, then in /usr/games"},
    };
    std::vector<SettingKey> all = AllSettingKeys();
    all.push_back(keys::CollectionDatFile);
    all.push_back(keys::TileViewerZoom);
    std::vector<SettingDescription> described;
    for (const SettingKey& key : all) {
        std::string_view meaning;
        for (std::size_t c = 0; c < keys::TileColour.size(); ++c) {
            for (const SettingKey& component : keys::TileColour[c]) {
                if (component.key == key.key) meaning = kTileColour[c];
            }
        }
        // The most specific entry wins: a whole key before a shared ending or beginning.
        for (const Meaning& m : kMeanings) {
            if (meaning.empty() && m.key == key.key) meaning = m.meaning;
        }
        for (const Meaning& m : kMeanings) {
            const bool shared = key.key.size() > m.key.size() &&
                                (key.key.substr(0, m.key.size() + 1) == std::string(m.key) + " " ||
                                 key.key.substr(key.key.size() - m.key.size() - 1) == " " + std::string(m.key));
            if (meaning.empty() && shared) meaning = m.meaning;
        }
        described.push_back({key, meaning});
    }
    return described;
}

std::vector<std::string> RepairSettings(SettingsStore& store) {
    std::vector<std::string> repaired;
    for (const SettingKey& key : AllSettingKeys()) {
        const auto stored = store.Find(std::string(key.key));
        if (!stored) continue;
        std::string value = *stored;
        if (key.kind == SettingKind::Whole || key.kind == SettingKind::CheckBox) {
            value = WholeText(ReadWhole(store, key));
        } else if (key.kind == SettingKind::YesNo) {
            // "True", "false", "-1" and "0" are all read; only what is not gets rewritten.
            const bool fallback = ParseYesNo(key.defaultText, false);
            if (ParseYesNo(*stored, !fallback) != ParseYesNo(*stored, fallback)) value = YesNoText(fallback);
        }
        if (value != *stored && Trim(*stored) != value) {
            store.Write(std::string(key.key), value);
            repaired.push_back(std::string(key.key));
        }
    }
    return repaired;
}

void WriteText(SettingsStore& store, const SettingKey& key, const std::string& value) {
    store.Write(std::string(key.key), value);
}

void WriteYesNo(SettingsStore& store, const SettingKey& key, bool value) {
    store.Write(std::string(key.key), YesNoText(value));
}

void WriteWhole(SettingsStore& store, const SettingKey& key, int value) {
    store.Write(std::string(key.key), WholeText(value));
}

}  // namespace kestro::base
