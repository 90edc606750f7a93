// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppSettings.h"

namespace kestro::app {

using namespace kestro::base;

void AppSettings::GetRegistry(const SettingsStore& store) {
    versionNumber = ReadText(store, keys::VersionNumber);
    mainMenuTheme = ReadYesNo(store, keys::MainMenuTheme);
    themeColours = ReadYesNo(store, keys::ThemeColours);
    baseDirectory = ReadText(store, keys::BaseDirectory);
    autoDetectRom = ReadYesNo(store, keys::AutoDetectRom);
    recentRomsNumber = ReadWhole(store, keys::RecentRomsNumber);
    for (std::size_t i = 0; i < recentRoms.size(); ++i) recentRoms[i] = ReadText(store, keys::RecentRom[i]);
    tileDisplayMode = ReadWhole(store, keys::TileDisplayMode);
    autoUpdateViewer = ReadYesNo(store, keys::AutoUpdateViewer);
    for (std::size_t c = 0; c < tileColours.size(); ++c) {
        tileColours[c].red = ReadWhole(store, keys::TileColour[c][0]);
        tileColours[c].green = ReadWhole(store, keys::TileColour[c][1]);
        tileColours[c].blue = ReadWhole(store, keys::TileColour[c][2]);
    }
    for (std::size_t p = 0; p < programs.size(); ++p) {
        programs[p].enabled = ReadYesNo(store, keys::Programs[p].enabled);
        programs[p].directory = ReadText(store, keys::Programs[p].directory);
    }
    detailedRomLists = ReadWhole(store, keys::DetailedRomLists);
    renameRoms = ReadWhole(store, keys::RenameRoms);
    moveRoms = ReadWhole(store, keys::MoveRoms);
    createChangeLog = ReadWhole(store, keys::CreateChangeLog);
    mednafen.enabled = ReadYesNo(store, keys::MednafenEnabled);
    mednafen.directory = ReadText(store, keys::MednafenProgram);
}

void AppSettings::SaveRegistry(SettingsStore& store, bool writeVersion) const {
    SettingsBatch batch(store);
    if (writeVersion) WriteText(store, keys::VersionNumber, versionNumber);
    WriteYesNo(store, keys::MainMenuTheme, mainMenuTheme);
    WriteYesNo(store, keys::ThemeColours, themeColours);
    WriteText(store, keys::BaseDirectory, baseDirectory);
    WriteYesNo(store, keys::AutoDetectRom, autoDetectRom);
    WriteWhole(store, keys::RecentRomsNumber, recentRomsNumber);
    for (std::size_t i = 0; i < recentRoms.size(); ++i) WriteText(store, keys::RecentRom[i], recentRoms[i]);
    WriteWhole(store, keys::TileDisplayMode, tileDisplayMode);
    WriteYesNo(store, keys::AutoUpdateViewer, autoUpdateViewer);
    for (std::size_t c = 0; c < tileColours.size(); ++c) {
        WriteWhole(store, keys::TileColour[c][0], tileColours[c].red);
        WriteWhole(store, keys::TileColour[c][1], tileColours[c].green);
        WriteWhole(store, keys::TileColour[c][2], tileColours[c].blue);
    }
    for (std::size_t p = 0; p < programs.size(); ++p) {
        WriteYesNo(store, keys::Programs[p].enabled, programs[p].enabled);
        WriteText(store, keys::Programs[p].directory, programs[p].directory);
    }
    WriteWhole(store, keys::DetailedRomLists, detailedRomLists);
    WriteWhole(store, keys::RenameRoms, renameRoms);
    WriteWhole(store, keys::MoveRoms, moveRoms);
    WriteWhole(store, keys::CreateChangeLog, createChangeLog);
}

void AppSettings::SaveOwnKeys(SettingsStore& store) const {
    WriteYesNo(store, keys::MednafenEnabled, mednafen.enabled);
    WriteText(store, keys::MednafenProgram, mednafen.directory);
}

AppSettings DefaultSettings() {
    // Read from an empty store, so the defaults come from the one key table.
    const MemorySettingsStore empty;
    AppSettings defaults;
    defaults.GetRegistry(empty);
    return defaults;
}

bool AnyEmulatorEnabled(const AppSettings& s) {
    return s.program(Program::RealityBoy).enabled || s.program(Program::VirtualE).enabled ||
           s.program(Program::RedDragon).enabled || s.mednafen.enabled;
}

bool AnyUtilityEnabled(const AppSettings& s) {
    return s.program(Program::VeCCompiler).enabled || s.program(Program::VEnvironment).enabled ||
           s.program(Program::VbDevKit).enabled;
}

}  // namespace kestro::app
