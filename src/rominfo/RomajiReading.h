// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The romaji reading of a ROM title: half-width katakana turned into Latin
// letters for window captions, tooltips and reports.

#include <string>
#include <string_view>

namespace kestro::rominfo {

/// Single-byte reading characters that are not ASCII (Latin-1 codes).
inline constexpr char kMiddleDot = '\xB7';   ///< the reading of 0xA5
inline constexpr char kDegreeSign = '\xB0';  ///< a semi-voiced mark on its own
inline constexpr char kYenSign = '\xA5';     ///< the reading of a backslash

/// The reading of a title (one byte per character), as single-byte Latin-1
/// text. Katakana become syllables ("\xC4\xCB\xDE" reads "Tobi"), marks and
/// small kana combine with the syllable before them where Japanese does,
/// printable ASCII is kept (a backslash reads as the yen sign), control and
/// other codes are dropped, and the first character is made upper case.
std::string RomajiReading(std::string_view title);

/// The same reading as UTF-8, for text that leaves the program.
std::string RomajiReadingUtf8(std::string_view title);

}  // namespace kestro::rominfo
