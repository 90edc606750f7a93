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

/// Columns the text takes in a fixed-pitch font, as wcwidth counts them:
/// East Asian wide and full-width characters two, combining marks and
/// zero-width characters none, everything else (a stray byte too) one.
std::size_t DisplayWidth(std::string_view text);

/// The byte offset at which the text reaches that many columns (a wide
/// character that would straddle it is left whole to the right); the text's
/// size when it is narrower.
std::size_t DisplayOffset(std::string_view text, std::size_t columns);

}  // namespace kestro::base
