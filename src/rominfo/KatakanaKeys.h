// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The katakana entry window's 63 buttons: which code each array index types,
// where it sits, and the tooltips of the less obvious ones.

#include <array>
#include <optional>
#include <string_view>

namespace kestro::rominfo {

inline constexpr int kKatakanaButtonCount = 63;

/// The title byte that button index types (0xA1-0xDF).
unsigned char KatakanaButtonCode(int index);

/// The tooltip of the button for a code, or nothing for a plain syllable.
std::optional<std::string_view> KatakanaButtonTooltip(unsigned char code);

/// Grid position of a button: the syllables in columns of five (a i u e o),
/// small kana and marks after them, punctuation on a row of its own.
struct KeyPlace {
    int row;
    int column;
};
KeyPlace KatakanaButtonPlace(int index);

}  // namespace kestro::rominfo
