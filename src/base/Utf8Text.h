// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names are UTF-8 on Linux, byte strings to the core: these count and
// cut them by the characters a user sees, so that padded columns line up.

#include <cstddef>
#include <string_view>

namespace kestro::base {

/// Length of the well-formed UTF-8 sequence that starts the text, or 0 when
/// its first byte starts none (a stray byte, or the text is empty).
std::size_t Utf8SequenceLength(std::string_view text);

/// Characters as shown: each well-formed sequence counts one, and so does
/// each byte that belongs to none (it is shown as one replacement mark).
std::size_t CharacterCount(std::string_view text);

/// The byte offset at which character number index begins, counted as
/// CharacterCount does; the text's size when it has fewer characters.
std::size_t CharacterOffset(std::string_view text, std::size_t index);

}  // namespace kestro::base
