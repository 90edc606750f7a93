// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpTopics.h"

#include <array>

namespace kestro::help {

namespace {

// The framed identification-codes text, 49 characters a line.
constexpr std::array<std::string_view, 31> kIdCodesLines{{
    "...............: STANDARD CODES ::...............", ":   [b] Bad Dump         [T] Translation        :",
    ":   [h] Hacked Dump      [!] Verified Good Dump :", ".................................................",
    "................: COUNTRY CODES ::...............", ":   (J) Japan              (U) USA              :",
    ":  (JU) Japan & USA       (PD) Public Domain    :", ".................................................",
    ".............: STANDARD CODE NOTES ::............", ": [b] A bad dump often occurs with an older     :",
    ":     copier or a faulty cartridge connection.  :", ":     Bad dumps may play, but they may crash or :",
    ":     show broken graphics. [b1] and [b2] mark  :", ":     the first and the second bad dump known.  :",
    ":                                               :", ": [T] A translation changes the game's texts    :",
    ":     into another language. The tag names the  :", ":     language, the version and the translator. :",
    ":                                               :", ": [h] A hacked dump has been changed, most      :",
    ":     often in its header (title, maker code,   :", ":     game code or version). Revert restores a  :",
    ":     known dump's original header.             :", ":                                               :",
    ": [!] Verified good dump. Thank God for these!  :", ".................................................",
    "...................: Credits ::..................", ": The code list was first gathered by the ROM   :",
    ": collectors of the Virtual Boy scene, and      :", ": adapted here by the Kestro Utilities team.    :",
    ".................................................",
}};

constexpr HelpTopic kTopics[] = {
    {"Kestro", "Kestro Utilities Help", HelpSource::MainWindow},
    {"ROM Info", "ROM Information Help", HelpSource::RomInfo},
    {"Tile View", "ROM Tile Viewer Help", HelpSource::TileView},
    {"VB ROM DB", "VB ROM Database Help", HelpSource::RomDatabase},
    {"ROM DB Have", "Collected Virtual Boy ROMs", HelpSource::RomDbHave},
    {"ROM DB Miss", "Missing Virtual Boy ROMs", HelpSource::RomDbMiss},
    {"ROM DB Dupes", "Duplicate Virtual Boy ROMs", HelpSource::RomDbDupes},
    {"ROM DB Log", "Virtual Boy ROMs Change Log", HelpSource::RomDbLog},
    {"Reality Boy", "Reality Boy Frontend Help", HelpSource::RealityBoy},
    {"Virtual-E", "Virtual-E Frontend Help", HelpSource::VirtualE},
    {"Red Dragon", "Red Dragon Frontend Help", HelpSource::RedDragon},
    {"ROM ID Codes", "ROM Identification Codes", HelpSource::IdCodes},
    {"Mednafen", "Mednafen Frontend Help", HelpSource::Mednafen},
};

}  // namespace

std::optional<HelpTopic> FindHelpTopic(std::string_view key) {
    for (const HelpTopic& topic : kTopics) {
        if (topic.key == key) return topic;
    }
    return std::nullopt;
}

std::string IdentificationCodesText() {
    std::string text;
    for (std::string_view line : kIdCodesLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string JoinParagraphs(std::initializer_list<std::string_view> paragraphs) {
    std::string text;
    bool first = true;
    for (std::string_view p : paragraphs) {
        if (!first) text += "\r\n\r\n";
        text += p;
        first = false;
    }
    return text;
}

}  // namespace kestro::help
