// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers kept as text in labels and entry boxes: read as the leading decimal
// number of the text, written back in shortest decimal form.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestro::base {

/// The leading decimal number of a text: blanks before it skipped, a sign and
/// a fraction allowed; 0 when the text starts with no number.
double NumericValue(std::string_view text);

/// Whether a text is written in hexadecimal: it starts "0x" or "0X".
bool IsHexText(std::string_view text);

/// A whole number written in decimal or, after "0x", in hexadecimal, with no
/// sign; nothing when the text is anything else or beyond 64 bits.
std::optional<std::int64_t> WholeNumber(std::string_view text);

/// The nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5
/// gives 4), as whole-number settings and counts take a fraction; the same
/// whatever the floating-point rounding mode.
double RoundHalfEven(double value);

/// A number as decimal text in its shortest form ("48", "2.5", "-1").
std::string DecimalText(double value);

/// What a numeric entry box shows after its text changed: a non-empty text
/// becomes the decimal text of its value, held within low and high when
/// given; an empty text stays empty.
std::string NormalisedNumberText(std::string_view text, std::optional<double> low = std::nullopt,
                                 std::optional<double> high = std::nullopt);

}  // namespace kestro::base
