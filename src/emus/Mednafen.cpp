#include "emus/Mednafen.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/FileRead.h"
#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "base/SettingsKeys.h"
#include "help/HelpTopics.h"

#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>
#endif

namespace kestro::emus {

using base::Message;
using base::MessageIcon;

namespace {

constexpr std::array<MednafenChoice, 7> k3DModes{{
    {"anaglyph", "Anaglyph (coloured glasses)"},
    {"cscope", "CyberScope"},
    {"sidebyside", "Side by side"},
    {"vli", "Vertical line interlaced"},
    {"hli", "Horizontal line interlaced"},
    {"left", "Left view only"},
    {"right", "Right view only"},
}};

constexpr std::array<MednafenChoice, 7> kPresets{{
    {"disabled", "Disabled (own colours)"},
    {"red_blue", "Red/Blue"},
    {"red_cyan", "Red/Cyan"},
    {"red_electriccyan", "Red/Electric Cyan"},
    {"red_green", "Red/Green"},
    {"green_magenta", "Green/Magenta"},
    {"yellow_blue", "Yellow/Blue"},
}};

constexpr std::array<MednafenChoice, 2> kCpuModes{{{"fast", "Fast"}, {"accurate", "Accurate"}}};

using K = MednafenKind;

// Names, values, defaults and ranges as Mednafen 1.29's documentation gives them.
const std::array<MednafenSetting, 14> kSettings{{
    {"vb.3dmode", K::Choice, "anaglyph", "3DMode", "3D mode:",
     "How the pictures for the two eyes are shown: for coloured glasses, for a CyberScope, side by side, "
     "interlaced by columns or lines, or one eye's picture alone.",
     k3DModes},
    {"vb.anaglyph.preset", K::Choice, "red_blue", "Preset", "Anaglyph colours:",
     "The colours of the anaglyph glasses. Disabled uses the left and right colours below.", kPresets},
    {"vb.anaglyph.lcolor",
     K::Colour,
     "0xffba00",
     "LColor",
     "Left colour:",
     "The left eye's brightest colour when the anaglyph colours are Disabled (0x000000 to 0xffffff).",
     {},
     0,
     0xFFFFFF},
    {"vb.anaglyph.rcolor",
     K::Colour,
     "0x00baff",
     "RColor",
     "Right colour:",
     "The right eye's brightest colour when the anaglyph colours are Disabled (0x000000 to 0xffffff).",
     {},
     0,
     0xFFFFFF},
    {"vb.default_color",
     K::Colour,
     "0xF0F0F0",
     "DefaultColor",
     "Other modes' colour:",
     "The brightest colour in every 3D mode but anaglyph (0x000000 to 0xffffff).",
     {},
     0,
     0xFFFFFF},
    {"vb.sidebyside.separation",
     K::Whole,
     "0",
     "Separation",
     "Separation:",
     "Pixels between the two pictures in side-by-side mode, counted before scaling (0 to 1024).",
     {},
     0,
     1024},
    {"vb.3dreverse", K::Flag, "0", "3DReverse", "Reverse 3D", "Swaps the left and right eyes' pictures."},
    {"vb.cpu_emulation", K::Choice, "fast", "CpuEmulation", "CPU emulation:",
     "Fast suits nearly every game; Accurate follows the processor's timing and cache more closely, and runs "
     "slower.",
     kCpuModes},
    {"vb.disable_parallax", K::Flag, "0", "Parallax", "Parallax off",
     "Draws backgrounds and sprites without their shift between the eyes."},
    {"vb.instant_display_hack", K::Flag, "0", "InstantDisplay", "Instant display",
     "Shows each frame 20 ms sooner, for less delay; it can cause graphical glitches."},
    {"vb.xscale",
     K::Real,
     "2.000000",
     "Scale",
     "Scale:",
     "The window's size as a multiple of the Virtual Boy's 384 x 224 screen (0.01 to 256).",
     {},
     0.01,
     256},
    {"vb.yscale", K::Real, "2.000000", "YScale", "", "", {}, 0.01, 256, "vb.xscale"},
    {"video.fs", K::Flag, "0", "Fullscreen", "Full screen", "Starts this game in full screen."},
    {"sound", K::Flag, "1", "Sound", "Sound", "Plays the game's sound."},
}};

constexpr std::string_view kPgConfigKey = "filesys.path_pgconfig";
constexpr std::string_view kProgramName = "mednafen";

// Mednafen's own file runs to about 600 KiB; nothing of ours is near this.
constexpr std::size_t kLargestConfig = 16 * 1024 * 1024;

// A settings file's text; nothing when there is no regular file to read.
std::optional<std::string> ReadConfigFile(const std::string& path) {
    std::vector<std::uint8_t> data;
    if (!base::ReadRegularFile(path, data, kLargestConfig)) return std::nullopt;
    return std::string(data.begin(), data.end());
}

std::string FileTextOrEmpty(const std::string& path) {
    return ReadConfigFile(path).value_or(std::string());
}

bool SameExtension(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Values a settings file sets that Mednafen takes, over those given.
void Overlay(MednafenValues& values, const MednafenValues& file) {
    for (const MednafenSetting& s : kSettings) {
        const auto found = file.find(std::string(s.key));
        if (found == file.end()) continue;
        if (auto value = NormalisedMednafenValue(s, found->second)) values[std::string(s.key)] = *value;
    }
}

}  // namespace

std::span<const MednafenSetting> MednafenSettings() {
    return kSettings;
}

const MednafenSetting& MednafenSettingOf(std::string_view key) {
    for (const MednafenSetting& s : kSettings) {
        if (s.key == key) return s;
    }
    throw std::invalid_argument("not a Mednafen setting of ours: " + std::string(key));
}

std::string MednafenColourText(std::uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::optional<std::uint32_t> ParseMednafenColour(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF) return std::nullopt;
    return value;
}

std::string MednafenRealText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

std::optional<std::string> NormalisedMednafenValue(const MednafenSetting& s, std::string_view text) {
    switch (s.kind) {
        case K::Choice:
            for (const MednafenChoice& c : s.choices) {
                if (c.value == text) return std::string(c.value);
            }
            return std::nullopt;
        case K::Flag:
            if (text == "0" || text == "1") return std::string(text);
            return std::nullopt;
        case K::Colour:
            if (auto rgb = ParseMednafenColour(text)) return MednafenColourText(*rgb);
            return std::nullopt;
        case K::Whole: {
            long value = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
            if (value < s.low || value > s.high) return std::nullopt;
            return std::to_string(value);
        }
        case K::Real: {
            const std::string copy(text);
            char* end = nullptr;
            const double value = std::strtod(copy.c_str(), &end);
            if (copy.empty() || end != copy.c_str() + copy.size() || !(value >= s.low && value <= s.high)) {
                return std::nullopt;
            }
            return MednafenRealText(value);
        }
    }
    return std::nullopt;
}

MednafenEnvironment CurrentMednafenEnvironment() {
    MednafenEnvironment environment;
    if (const char* home = std::getenv("MEDNAFEN_HOME")) environment.mednafenHome = home;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        environment.home = home;
    } else {
#if !defined(_WIN32)
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
            environment.home = user->pw_dir;
        }
#endif
    }
    environment.searchPath = base::CurrentLaunchEnvironment().searchPath;
    return environment;
}

std::string MednafenBaseDirectory(const MednafenEnvironment& environment) {
    if (!environment.mednafenHome.empty()) return environment.mednafenHome;
    return base::JoinPath(environment.home, ".mednafen");
}

std::optional<std::string> FindMednafen(const std::string& configured, const MednafenEnvironment& environment) {
    if (configured.empty()) {
        if (auto found = base::FindExecutableOnPath(kProgramName, environment.searchPath)) return found;
        return base::FindExecutableOnPath(kProgramName, environment.fallbackDirectory);
    }
    if (configured.find(base::kPathSeparator) == std::string::npos) {
        return base::FindExecutableOnPath(configured, environment.searchPath);
    }
    std::error_code ec;
    if (std::filesystem::is_directory(configured, ec)) return base::FindExecutableOnPath(kProgramName, configured);
    std::string directory = base::DirectoryOf(configured);
    if (directory.size() > 1) directory.pop_back();  // a search path lists directories without their separator
    return base::FindExecutableOnPath(base::FileNameOf(configured), directory);
}

std::vector<std::string> MednafenMissingLines(const std::string& configured, const MednafenEnvironment& environment) {
    if (configured.empty()) return {"Can't find mednafen on PATH or in directory:", environment.fallbackDirectory};
    return {"Can't find the mednafen program:", configured};
}

std::string PerGameFileName(const std::string& rom) {
    const std::string name = base::FileNameOf(rom);
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + ".vb.cfg";
}

MednafenValues MednafenGame::Effective() const {
    MednafenValues values = inherited;
    for (const auto& [key, value] : own) values[key] = value;
    return values;
}

MednafenGame LoadMednafenGame(const std::string& rom, const MednafenEnvironment& environment) {
    const std::string baseDirectory = MednafenBaseDirectory(environment);
    const MednafenValues global = ReadMednafenConfig(FileTextOrEmpty(base::JoinPath(baseDirectory, "mednafen.cfg")));
    std::string directory = "pgconfig";
    if (auto set = global.find(std::string(kPgConfigKey)); set != global.end() && !set->second.empty()) {
        directory = set->second;
    }
    if (!std::filesystem::path(directory).is_absolute()) directory = base::JoinPath(baseDirectory, directory);

    MednafenGame game;
    game.rom = rom;
    game.configPath = base::JoinPath(directory, PerGameFileName(rom));
    game.configText = ReadConfigFile(game.configPath);
    for (const MednafenSetting& s : kSettings)
        game.inherited[std::string(s.key)] = *NormalisedMednafenValue(s, s.defaultValue);
    Overlay(game.inherited, global);
    Overlay(game.inherited, ReadMednafenConfig(FileTextOrEmpty(base::JoinPath(baseDirectory, "vb.cfg"))));
    if (game.configText) Overlay(game.own, ReadMednafenConfig(*game.configText));
    return game;
}

std::optional<FileToWrite> PerGameFileFor(const MednafenGame& game, const MednafenValues& shown) {
    const MednafenValues inFile = ReadMednafenConfig(game.configText.value_or(std::string()));
    std::vector<MednafenChange> changes;
    for (const MednafenSetting& s : kSettings) {
        const std::string key(s.key);
        const auto value = shown.find(s.sameAs.empty() ? key : std::string(s.sameAs));
        if (value == shown.end()) continue;
        if (inFile.contains(key)) {
            const auto own = game.own.find(key);
            if (own == game.own.end() || own->second != value->second) changes.emplace_back(key, value->second);
        } else if (game.inherited.at(key) != value->second) {
            changes.emplace_back(key, value->second);
        }
    }
    if (changes.empty()) return std::nullopt;
    return FileToWrite{game.configPath, UpdateMednafenConfig(game.configText.value_or(std::string()), changes), true};
}

PerGameRemoval RemoveGameSettings(const MednafenGame& game) {
    PerGameRemoval removal;
    if (!game.configText) return removal;
    const MednafenValues inFile = ReadMednafenConfig(*game.configText);
    std::vector<MednafenChange> changes;
    for (const MednafenSetting& s : kSettings) {
        if (inFile.contains(std::string(s.key))) changes.emplace_back(std::string(s.key), std::nullopt);
    }
    removal.needed = !changes.empty();
    removal.text = UpdateMednafenConfig(*game.configText, changes);
    removal.removeFile = IsBlankConfig(removal.text);
    return removal;
}

std::optional<std::string> ApplyRemoval(const MednafenGame& game, const PerGameRemoval& removal) {
    if (!removal.needed) return std::nullopt;
    if (removal.removeFile) {
        std::error_code ec;
        std::filesystem::remove(game.configPath, ec);
        if (ec) return ec.message();
        return std::nullopt;
    }
    if (auto written = base::WriteFileAtomically(game.configPath, removal.text); !written) return written.reason;
    return std::nullopt;
}

std::vector<std::string> MednafenArguments(const std::string& rom) {
    const std::string name = base::FileNameOf(rom);
    const std::size_t dot = name.rfind('.');
    const std::string_view extension =
        dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot);
    if (SameExtension(extension, ".vb") || SameExtension(extension, ".vboy")) return {rom};
    return {"-force_module", "vb", rom};
}

PreparedRun MednafenRun(const std::string& program, const std::string& rom, std::optional<FileToWrite> perGameFile) {
    PreparedRun run;
    run.emulator = "Mednafen";
    const std::vector<std::string> arguments = MednafenArguments(rom);
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    run.commandLine = base::ShellCommandLine(argv);
    run.request = base::LaunchRequest{program, arguments, {}, false, {arguments.size() - 1}};
    if (perGameFile) run.files.push_back(std::move(*perGameFile));
    return run;
}

PreparedRun PrepareMednafenPlay(const base::SettingsStore& settings, const std::optional<std::string>& rom,
                                const MednafenEnvironment& environment) {
    PreparedRun run;
    run.emulator = "Mednafen";
    if (!rom) {
        run.refusal = SelectRomMessage();
        return run;
    }
    if (auto refused = CheckRomToRun(*rom)) {
        run.refusal = refused;
        return run;
    }
    const std::string configured = base::ReadText(settings, base::keys::MednafenProgram);
    const auto program = FindMednafen(configured, environment);
    if (!program) {
        const std::vector<std::string> lines = MednafenMissingLines(configured, environment);
        run.refusal = Message{"Emulator not found", base::JoinCr({lines[0], lines[1]}), MessageIcon::Exclamation};
        return run;
    }
    const MednafenGame game = LoadMednafenGame(*rom, environment);
    run = MednafenRun(*program, *rom, std::nullopt);
    run.filesRead.push_back({game.configPath, game.configText.value_or(std::string())});
    return run;
}

Message RemoveGameSettingsQuestion(const std::string& path) {
    return {"Revert to default",
            base::JoinCr(
                {"Do you wish to revert to default settings?", "NOTE: This removes this game's settings from:", path}),
            MessageIcon::Question, base::MessageButtons::YesNo, base::MessageResult::No};
}

Message GameSettingsNotSavedMessage(const std::string& path, const std::string& reason) {
    return {"Unable to save settings", base::JoinCr({"Unable to write the file:", path, reason}),
            MessageIcon::Exclamation};
}

std::string MednafenHelpText() {
    return help::JoinParagraphs({
        "Mednafen Frontend:",
        "This window starts the Mednafen emulator on a Virtual Boy ROM image with that game's own settings. They "
        "are kept in Mednafen's per-game file for the ROM (in the pgconfig folder of Mednafen's folder, "
        "$MEDNAFEN_HOME or ~/.mednafen), which Mednafen reads when it loads the game and never writes. Nothing "
        "is passed to Mednafen as a setting, so its own mednafen.cfg, and every other game, stay as they are.",
        "ROM to run: choose a ROM image with \"Select ROM...\", or pick one of the recently used ROMs from the "
        "list. The window then shows that game's settings: the ones its file sets, and for the others what "
        "Mednafen uses for every game.",
        "3D mode: anaglyph for coloured glasses (with the glasses' colours, or your own left and right colours "
        "when the preset is Disabled), CyberScope, side by side (with the separation between the two pictures), "
        "interlaced by columns or lines, or one eye's picture alone. Other modes' colour is the brightest colour "
        "of every mode but anaglyph. Reverse 3D swaps the eyes.",
        "CPU emulation: Fast suits nearly every game, Accurate is closer to the real processor and slower. "
        "Parallax off draws without the shift between the eyes; Instant display shows frames sooner, and may "
        "cause glitches. Scale sets the window's size; Full screen and Sound are for this game only.",
        "Save Settings writes the game's file: a setting goes in when it differs from what Mednafen would use "
        "anyway, or when the file sets it already; every other line of the file stays as it was. Revert "
        "Settings shows the saved settings again. Revert to Default takes this game's settings out of its file.",
        "Run Mednafen saves the settings shown and starts Mednafen. The command line box shows exactly what is "
        "run; it can be copied into a terminal as it is.",
        "Mednafen is looked for where the Kestro Utils options say, or, when they name no program, on PATH and "
        "then in /usr/games (the Debian package \"mednafen\").",
    });
}

}  // namespace kestro::emus
