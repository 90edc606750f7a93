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
