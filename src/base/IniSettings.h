// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop program's settings file, read without Qt: Qt's settings class keeps the
// store as an INI file, and `kestro` commands read it as the windows would.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/SettingsStore.h"

namespace kestro::base {

/// Where the desktop program keeps its settings on Linux:
/// $XDG_CONFIG_HOME (else ~/.config), "Kestro Utils/Kestro Utils.ini".
std::string UserSettingsFile();

/// The values of one section of an INI text in Qt's form: keys with
/// their %XX escapes undone, values unquoted and unescaped as Qt reads
/// them (a quoted value keeps its blanks and commas; "@@" is a leading "@").
std::map<std::string, std::string> ParseIniSection(std::string_view text, std::string_view section);

/// A read-only view of a settings file. Reads see the file as it was loaded;
/// writes stay in memory and never reach the file.
class IniSettingsStore final : public SettingsStore {
public:
    /// The "Settings" section of the file; a missing or unreadable file reads
    /// as an empty store, as the desktop program's first run does.
    static IniSettingsStore Load(const std::string& path);

    std::optional<std::string> Find(const std::string& key) const override;
    void Write(const std::string& key, const std::string& value) override;

private:
    std::map<std::string, std::string> m_values;
};

}  // namespace kestro::base
