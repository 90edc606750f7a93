// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Help topics: each key names the window whose help text the help window shows.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace kestro::help {

/// Whose text a topic shows.
enum class HelpSource {
    MainWindow,
    RomInfo,
    TileView,
    RomDatabase,
    RomDbHave,
    RomDbMiss,
    RomDbDupes,
    RomDbLog,
    RealityBoy,
    VirtualE,
    RedDragon,
    IdCodes,
    Mednafen,
};

struct HelpTopic {
    std::string_view key;
    std::string_view caption;
    HelpSource source;
};

/// The topic with exactly this key, or nothing.
std::optional<HelpTopic> FindHelpTopic(std::string_view key);

/// Caption of the help window when its key matches no topic.
inline constexpr std::string_view kDefaultHelpCaption = "Kestro Utilities Help";

/// The help window's own text: the framed identification codes, CR LF lines.
std::string IdentificationCodesText();

/// Joins help paragraphs into a text box's text, a blank line between them.
std::string JoinParagraphs(std::initializer_list<std::string_view> paragraphs);

}  // namespace kestro::help
