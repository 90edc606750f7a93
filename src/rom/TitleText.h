// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ROM titles are single-byte text: ASCII plus half-width katakana at
// 0xA1-0xDF. These turn them into Unicode for display and back.

#include <optional>
#include <string>
#include <string_view>

namespace kestro::rom {

/// 0xA1-0xDF as U+FF61-U+FF9F, everything else as Latin-1.
char32_t TitleByteToCodepoint(unsigned char byte);
/// The byte that shows as this code point, or nothing.
std::optional<unsigned char> CodepointToTitleByte(char32_t cp);

std::string TitleToUtf8(std::string_view bytes);
/// False for control codes (0x00-0x1F, 0x7F-0x9F): the reading leaves them
/// out, and so does every place a title is drawn, rather than show a box.
bool IsShownTitleByte(unsigned char byte);
/// The title as drawn: TitleToUtf8 of the bytes that are shown.
std::string ShownTitleUtf8(std::string_view bytes);
/// Single-byte text read as Latin-1 (every byte its own code point), as UTF-8:
/// for texts such as the romaji reading, where 0xB7 is the middle dot.
std::string Latin1ToUtf8(std::string_view bytes);
/// Nothing when the text holds a character no title byte shows.
std::optional<std::string> Utf8ToTitle(std::string_view utf8);

/// Upper-case hex of the bytes, two digits each.
std::string HexText(std::string_view bytes);
/// Bytes from hex digits (blanks allowed between pairs); nothing when malformed.
std::optional<std::string> BytesFromHex(std::string_view hex);

}  // namespace kestro::rom
