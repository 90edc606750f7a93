// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings the main window and the options window keep as members.

#include <array>
#include <string>

#include "base/SettingsKeys.h"

namespace kestro::app {

struct TileColourSetting {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const TileColourSetting&, const TileColourSetting&) = default;
};

struct ProgramSetting {
    bool enabled = false;
    std::string directory;
    friend bool operator==(const ProgramSetting&, const ProgramSetting&) = default;
};

/// One copy of every key except the Reality Boy front-end's own.
struct AppSettings {
    std::string versionNumber;
    bool mainMenuTheme = false;
    bool themeColours = false;
    std::string baseDirectory;
    bool autoDetectRom = false;
    int recentRomsNumber = 4;
    std::array<std::string, 10> recentRoms;
    int tileDisplayMode = 0;
    bool autoUpdateViewer = false;
    std::array<TileColourSetting, 4> tileColours;
    std::array<ProgramSetting, base::kProgramCount> programs;
    /// Mednafen: its switch and program ("" looks on PATH, then in /usr/games).
    ProgramSetting mednafen;
    int detailedRomLists = 0;
    int renameRoms = 0;
    int moveRoms = 0;
    int createChangeLog = 0;

    const ProgramSetting& program(base::Program p) const {
        return p == base::Program::Mednafen ? mednafen : programs[static_cast<int>(p)];
    }
    ProgramSetting& program(base::Program p) {
        return p == base::Program::Mednafen ? mednafen : programs[static_cast<int>(p)];
    }

    /// Reads every key in the designed order, each with its table default,
    /// then our own keys.
    void GetRegistry(const base::SettingsStore& store);
    /// Writes every designed key back in the same order. The options window
    /// passes writeVersion = false: it reads "Version Number" but never writes it.
    void SaveRegistry(base::SettingsStore& store, bool writeVersion = true) const;
    /// Writes our own keys (Mednafen's), which only the options window sets,
    /// so a first run creates none of them.
    void SaveOwnKeys(base::SettingsStore& store) const;

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

/// Colour-set index of the themed look: 0 "VB Colours", 1 "Greyscale".
inline int ThemeColourSet(const AppSettings& s) {
    return s.themeColours ? 1 : 0;
}

/// Every setting at its default, as a first run would have it.
AppSettings DefaultSettings();

bool AnyEmulatorEnabled(const AppSettings& s);
bool AnyUtilityEnabled(const AppSettings& s);

}  // namespace kestro::app
