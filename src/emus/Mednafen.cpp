// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/Mednafen.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
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
    for (const MednafenSetting& s : MednafenSettings()) {
        const auto found = file.find(std::string(s.key));
        if (found == file.end()) continue;
        if (auto value = NormalisedMednafenValue(s, found->second)) values[std::string(s.key)] = *value;
    }
}

}  // namespace

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
    for (const MednafenSetting& s : MednafenSettings())
        game.inherited[std::string(s.key)] = *NormalisedMednafenValue(s, s.defaultValue);
    Overlay(game.inherited, global);
    Overlay(game.inherited, ReadMednafenConfig(FileTextOrEmpty(base::JoinPath(baseDirectory, "vb.cfg"))));
    if (game.configText) Overlay(game.own, ReadMednafenConfig(*game.configText));
    return game;
}

std::optional<FileToWrite> PerGameFileFor(const MednafenGame& game, const MednafenValues& shown) {
    const MednafenValues inFile = ReadMednafenConfig(game.configText.value_or(std::string()));
    std::vector<MednafenChange> changes;
    for (const MednafenSetting& s : MednafenSettings()) {
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
    for (const MednafenSetting& s : MednafenSettings()) {
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
