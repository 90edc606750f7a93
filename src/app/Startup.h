// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up checks: the checksum library and the katakana font must be
// present before any setting is touched.

#include <functional>
#include <optional>
#include <string>

#include "base/Message.h"
#include "base/Registry.h"

namespace kestro::app {

/// Where the Windows and Fonts directories are read from.
inline constexpr char kWindowsDirKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kWindowsDirValue[] = "SystemRoot";
inline constexpr char kFontsDirKey[] =
    ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char kFontsDirValue[] = "Fonts";

/// The three start-up locations, each ending in the separator (or empty).
struct StartupLocations {
    std::string windowsDirectory;
    std::string fontsDirectory;
    std::string programDirectory;
};

/// The file names the checks look for on this platform.
struct StartupFiles {
    std::string library;  ///< "libKestro.so" (Kestro.dll on Windows)
    std::string font;     ///< the katakana font file
};

StartupFiles PlatformStartupFiles(std::string fontFile);

/// Reads the Windows and Fonts directories through the registry class (a new
/// object for each) and completes all three with the trailing separator.
StartupLocations ReadStartupLocations(base::RegistryBackend& registry, const std::string& programDirectory);

using FileExistsFn = std::function<bool(const std::string& path)>;

/// The library check, then the font check; the message of the first that
/// fails, or nothing when start-up may go on.
std::optional<base::Message> CheckStartup(const StartupLocations& where, const StartupFiles& files,
                                          const FileExistsFn& fileExists);

/// Where the library was found: beside the program first, then the Windows directory.
std::string LibraryPath(const StartupLocations& where, const StartupFiles& files, const FileExistsFn& fileExists);

/// The warning, given once at start-up, that the settings cannot be kept.
base::Message SettingsNotSavedMessage(const std::string& problem);

/// The notice shown at every start.
base::Message StartupNotice();

}  // namespace kestro::app
