// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `kestro play` runs against a settings file of its own: XDG_CONFIG_HOME
// points into a temporary directory for the test's length.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "base/Paths.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

namespace kestro::test {

/// Sets an environment variable until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        const char* old = getenv(name);
        if (old != nullptr) m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class PlayTest : public ::testing::Test {
protected:
    PlayTest() {
        std::filesystem::create_directories(dir.File("config/Kestro Utils"));
        std::filesystem::create_directories(emu);
        std::filesystem::create_directories(dir.File("my roms"));
        RomBuilder::Unknown().WriteTo(rom);
    }
    /// The settings file, as QSettings writes it: keys %-escaped, values
    /// with commas quoted.
    void WriteSettings(const std::string& lines) {
        std::ofstream file(settingsFile);
        file << "[General]\nVersion%20Number=1.0\n\n[Settings]\n";
        for (const char* name : {"Reality%20Boy", "Red%20Dragon", "Virtual-E", "Mednafen"}) {
            file << name << "%20Enabled=" << (enabled ? "True" : "False") << '\n';
        }
        file << lines;
    }
    std::string Quoted(const std::string& value) { return "\"" + value + "\""; }

    bool enabled = true;  ///< each emulator's "Enabled" box, as WriteSettings writes it
    TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config")};
    std::string settingsFile = dir.File("config/Kestro Utils/Kestro Utils.ini");
    std::string emu = dir.File("emus, mine/emu dir");
    std::string rom = dir.File("my roms/game one.vb");
};

}  // namespace kestro::test
