// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's settings file read without Qt (the QSettings round
// trip itself is tested with Qt, in tests/platform).
#include <gtest/gtest.h>

#include "base/IniSettings.h"

using namespace kestro::base;

TEST(IniSettings, ReadsTheSettingsSectionAsQSettingsWritesIt) {
    // Each line of the section, the key it names and the text it holds.
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"Reality%20Boy%20Directory=/home/me/emu/rboy", "Reality Boy Directory", "/home/me/emu/rboy"},
        {"Red%20Dragon%20Directory=\"/home/me/my emus, old/rd\"", "Red Dragon Directory", "/home/me/my emus, old/rd"},
        {"Recent%20ROM%20%231=\"  padded  \"", "Recent ROM #1", "  padded  "},
        {"Recent%20ROM%20%232=a \\\"quoted\\\" \\\\ path\\tx", "Recent ROM #2", "a \"quoted\" \\ path\tx"},
        {"Recent%20ROM%20%233=@@at", "Recent ROM #3", "@at"},
        {"Recent%20ROM%20%234=caf\xC3\xA9 \\x1b\\x31", "Recent ROM #4", "caf\xC3\xA9 \x1b\x31"},
        {"Recent%20ROM%20%235=   unquoted trailing   ", "Recent ROM #5", "unquoted trailing"},
        {"Recent%20ROM%20%236=", "Recent ROM #6", ""},
        {"Recent%20ROM%20%237=a, b", "Recent ROM #7", ""},              // a list, which reads as no text
        {"Recent%20ROM%20%238=\\101\\77\\7", "Recent ROM #8", "A?\a"},  // octal, as a hand-edited file may hold
        {"Odd%U00e9=x", "Odd\xC3\xA9", "x"},
    };
    std::string text = "[General]\r\nReality%20Boy%20Directory=/not/this/one\r\n\r\n[Settings]\r\n";
    for (const auto& [line, key, value] : rows) text += std::string(line) + "\r\n";
    text += "; a comment\r\nno equals sign\r\n[Other]\r\nReality%20Boy%20Directory=/nor/this/one\n";
    const auto values = ParseIniSection(text, "Settings");
    EXPECT_EQ(values.size(), std::size(rows));
    for (const auto& [line, key, value] : rows) EXPECT_EQ(values.at(key), value) << line;
}
