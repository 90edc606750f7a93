// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's settings file read without Qt (the QSettings round
// trip itself is tested with Qt, in tests/platform).
#include <gtest/gtest.h>

#include "base/IniSettings.h"

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
        "Recent%20ROM%20%238=\\101\\77\\7\r\n"
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
    EXPECT_EQ(values.at("Recent ROM #8"), "A?\a") << "octal escapes, as a hand-edited file may hold";
    EXPECT_EQ(values.at("Odd\xC3\xA9"), "x");
    EXPECT_EQ(values.size(), 11u);
}
