// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NumericText.h"

#include <charconv>
#include <cmath>

namespace kestro::base {

double NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    std::string_view number = text.substr(start, i - start);
    if (number.empty() || number == ".") return 0;
    // from_chars wants a digit before the point.
    std::string digits = number.front() == '.' ? "0" + std::string(number) : std::string(number);
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    // Too many digits for a double: as large as a number gets, so that limits still apply.
    if (result.ec == std::errc::result_out_of_range) value = HUGE_VAL;
    return negative ? -value : value;
}

bool IsHexText(std::string_view text) {
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    int base = 10;
    if (IsHexText(text)) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars takes a leading minus; a whole number here never has one.
    if (text.empty() || text.front() == '-') return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    // Out of 64 bits is refused, never pulled back to the largest value.
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) return floor + 1;
    if (fraction < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string DecimalText(double value) {
    if (value == 0 || !std::isfinite(value)) return "0";
    char buffer[512];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

std::string NormalisedNumberText(std::string_view text, std::optional<double> low, std::optional<double> high) {
    if (text.empty()) return {};
    double value = NumericValue(text);
    if (high && value > *high) value = *high;
    if (low && value < *low) value = *low;
    return DecimalText(value);
}

}  // namespace kestro::base
