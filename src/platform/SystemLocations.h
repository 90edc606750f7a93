// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Linux stand-ins for the Windows and Fonts directories that start-up reads
// from the registry, and loading the checksum library.

#include <QString>
#include <string>

#include "base/Registry.h"

namespace kestro::platform {

struct KatakanaFontFile {
    std::string directory;  ///< with its trailing separator
    std::string fileName;   ///< the font file that was, or would be, looked for
    QString family;         ///< empty when no installed font draws katakana
};

/// How well an installed face suits titles: a gothic face drawn at fixed
/// pitch (fontconfig spacing dual or mono) before a proportional one.
int KatakanaFaceScore(const QString& family, int spacing);

/// Asks fontconfig for an installed font that draws U+FF71, preferring a
/// gothic face. When there is none, names the file the setup installs.
KatakanaFontFile FindKatakanaFont();

/// Puts the stand-in values where start-up reads them: the installed library
/// directory (found from the program's own directory) as "SystemRoot" and
/// the katakana font's directory as "Fonts".
void FillSystemLocations(base::MemoryRegistryBackend& registry, const KatakanaFontFile& font);

/// The directory the program was started from.
std::string ProgramDirectory();

/// Loads the checksum library and makes its GetVbRomChecksum the one the
/// program uses. False (with the reason) when it cannot be loaded.
bool LoadChecksumLibrary(const std::string& path, QString* error);

}  // namespace kestro::platform
