// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8Text.h"

#include <iterator>
#include <utility>

namespace kestro::base {

namespace {

bool Continuation(unsigned char b, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return b >= low && b <= high;
}

struct Range {
    char32_t first, last;
};

// Combining marks and zero-width characters.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302D},
    {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF},
};

// East Asian wide and full-width blocks; the half-width katakana of
// U+FF61-U+FF9F stay one column.
constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x231A, 0x231B}, {0x2329, 0x232A}, {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

bool InRanges(char32_t cp, const Range* begin, const Range* end) {
    for (const Range* r = begin; r != end; ++r) {
        if (cp >= r->first && cp <= r->last) return true;
    }
    return false;
}

char32_t Decode(std::string_view sequence) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    if (sequence.size() == 1) return at(0);
    char32_t cp = at(0) & (0xFF >> (sequence.size() + 1));
    for (std::size_t i = 1; i < sequence.size(); ++i) cp = (cp << 6) | (at(i) & 0x3F);
    return cp;
}

// Columns of the character starting the text, and its length in bytes.
std::pair<std::size_t, std::size_t> NextColumns(std::string_view text) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return {1, 1};
    const char32_t cp = Decode(text.substr(0, length));
    if (InRanges(cp, std::begin(kZeroWidth), std::end(kZeroWidth))) return {0, length};
    return {InRanges(cp, std::begin(kWide), std::end(kWide)) ? 2 : 1, length};
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    // The second byte's range depends on the lead, which rules out overlong
    // forms, surrogates and code points beyond U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || !Continuation(at(1), low, high)) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!Continuation(at(i))) return 0;
    }
    return length;
}

std::size_t DisplayWidth(std::string_view text) {
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto [width, length] = NextColumns(text.substr(at));
        columns += width;
        at += length;
    }
    return columns;
}

std::size_t DisplayOffset(std::string_view text, std::size_t columns) {
    std::size_t at = 0;
    for (std::size_t used = 0; at < text.size();) {
        const auto [width, length] = NextColumns(text.substr(at));
        if (used + width > columns) break;
        used += width;
        at += length;
    }
    return at;
}

}  // namespace kestro::base
