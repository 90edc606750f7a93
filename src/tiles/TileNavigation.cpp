// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/TileNavigation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "base/NumericText.h"
#include "tiles/TileFormat.h"

namespace kestro::tiles {

namespace {

double AtLeast(double value, double low) {
    return value < low ? low : value;
}
double AtMost(double value, double high) {
    return value > high ? high : value;
}

}  // namespace

double WholeTiles(double value) {
    return base::RoundHalfEven(value);
}

bool ChangesWidth(ViewStep step) {
    return step == ViewStep::TileLeft || step == ViewStep::TileRight || step == ViewStep::TileHalf ||
           step == ViewStep::TileDouble;
}

ViewPlace Step(ViewStep step, ViewPlace place, double fileLength) {
    const double o = place.offset;
    const double w = place.width;
    const double row = kTileBytes * w;
    const double screen = row * kViewRows;
    const double lastTile = fileLength - kTileBytes;
    switch (step) {
        case ViewStep::OffsetDown: place.offset = AtLeast(o - 1, 0); break;
        case ViewStep::OffsetUp: place.offset = AtMost(o + 1, fileLength - 1); break;
        case ViewStep::OffsetDownTile: place.offset = AtLeast(o - kTileBytes, 0); break;
        case ViewStep::OffsetUpTile: place.offset = AtMost(o + kTileBytes, lastTile); break;
        case ViewStep::Up: place.offset = AtLeast(o - row, 0); break;
        case ViewStep::Down: place.offset = AtMost(o + row, lastTile); break;
        case ViewStep::PageUp: place.offset = AtLeast(o - screen, 0); break;
        case ViewStep::PageDown: place.offset = AtMost(o + screen, lastTile); break;
        case ViewStep::TileLeft: place.width = AtLeast(w - 1, 1); break;
        case ViewStep::TileRight: place.width = AtMost(w + 1, kMaxViewWidth); break;
        // Rounded half to even, then halved with the fraction dropped.
        case ViewStep::TileHalf: place.width = AtLeast(std::trunc(WholeTiles(w) / 2), 1); break;
        case ViewStep::TileDouble: place.width = AtMost(2 * w, kMaxViewWidth); break;
    }
    return place;
}

std::string GotoTextChanged(GotoWhat what, std::string_view text, double fileLength) {
    const double high = what == GotoWhat::Width ? kMaxViewWidth : fileLength - 1;
    if (!base::IsHexText(text)) return base::NormalisedNumberText(text, std::nullopt, high);
    // Hexadecimal stays as typed, up to the first character that is no hex digit.
    std::size_t end = 2;
    while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end]))) ++end;
    const std::string kept(text.substr(0, end));
    const auto value = base::WholeNumber(kept);
    if (end == 2 || (value && *value <= high)) return kept;
    std::ostringstream bound;
    bound << "0x" << std::uppercase << std::hex << static_cast<std::int64_t>(std::max(high, 0.0));
    return bound.str();
}

std::string GotoAccepted(GotoWhat what, std::string_view text) {
    const double low = what == GotoWhat::Width ? 1 : 0;
    const double value =
        base::IsHexText(text) ? static_cast<double>(base::WholeNumber(text).value_or(0)) : base::NumericValue(text);
    return base::DecimalText(AtLeast(value, low));
}

}  // namespace kestro::tiles
