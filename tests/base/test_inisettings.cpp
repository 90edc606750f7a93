// The desktop program's settings file read without Qt (the QSettings round
// trip itself is tested with Qt, in tests/platform).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "base/IniSettings.h"
#include "base/SettingsKeys.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::base;

TEST(IniSettings, ReadsTheSettingsSectionAsQSettingsWritesIt) {
    const std::string text =
        "[General]\r\n"
        "Reality%20Boy%20Directory=/not/this/one\r\n"
        "\r\n"
        "[Settings]\r\n"
        "Reality%20Boy%20Directory=/home/me/emu/rboy\r\n"
        "Red%20Dragon%20Directory=\"/home/me/my emus, old/rd\"\r\n"
        "Recent%20ROM%20%231=\"  padded  \"\r\n"
        "Recent%20ROM%20%232=a \\\"quoted\\\" \\\\ path\\tx\r\n"
        "Recent%20ROM%20%233=@@at\r\n"
        "Recent%20ROM%20%234=caf\xC3\xA9 \\x1b\\x31\r\n"
        "Recent%20ROM%20%235=   unquoted trailing   \r\n"
        "Recent%20ROM%20%236=\r\n"
        "Recent%20ROM%20%237=a, b\r\n"
        "Odd%U00e9=x\r\n"
        "; a comment\r\n"
        "no equals sign\r\n"
        "[Other]\r\n"
        "Reality%20Boy%20Directory=/nor/this/one\n";
    const auto values = ParseIniSection(text, "Settings");
    EXPECT_EQ(values.at("Reality Boy Directory"), "/home/me/emu/rboy");
    EXPECT_EQ(values.at("Red Dragon Directory"), "/home/me/my emus, old/rd");
    EXPECT_EQ(values.at("Recent ROM #1"), "  padded  ");
    EXPECT_EQ(values.at("Recent ROM #2"), "a \"quoted\" \\ path\tx");
    EXPECT_EQ(values.at("Recent ROM #3"), "@at");
    EXPECT_EQ(values.at("Recent ROM #4"),
              "caf\xC3\xA9 \x1b"
              "1");
    EXPECT_EQ(values.at("Recent ROM #5"), "unquoted trailing");
    EXPECT_EQ(values.at("Recent ROM #6"), "");
    EXPECT_EQ(values.at("Recent ROM #7"), "") << "an unquoted comma makes a list, which reads as no text";
    EXPECT_EQ(values.at("Odd\xC3\xA9"), "x");
    EXPECT_EQ(values.size(), 10u);
}

TEST(IniSettings, TheStoreReadsTheUsersFileAndNeverWritesIt) {
    kestro::test::TempDir dir;
    const char* old = getenv("XDG_CONFIG_HOME");
    const std::string saved = old != nullptr ? old : "";
    setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
    const std::string file = UserSettingsFile();
    EXPECT_EQ(file, dir.File("Kestro Utils/Kestro Utils.ini"));
    old != nullptr ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");

    IniSettingsStore missing = IniSettingsStore::Load(file);
    EXPECT_EQ(ReadText(missing, keys::Programs[0].directory), DefaultDirectory()) << "a first run: the defaults";

    std::filesystem::create_directories(dir.File("Kestro Utils"));
    const std::string content = "[Settings]\nReality%20Boy%20Brightness=100\n";
    std::ofstream(file) << content;
    IniSettingsStore store = IniSettingsStore::Load(file);
    EXPECT_EQ(ReadWhole(store, keys::RealityBoyBrightness), 100);
    store.Write("Reality Boy Brightness", "5");
    EXPECT_EQ(ReadWhole(store, keys::RealityBoyBrightness), 5);
    EXPECT_EQ(kestro::test::FileText(file), content);
}
