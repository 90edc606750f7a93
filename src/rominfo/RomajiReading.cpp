// SPDX-License-Identifier: GPL-3.0-or-later
#include "rominfo/RomajiReading.h"

#include <array>
#include <cstdint>

#include "rom/TitleText.h"

namespace kestro::rominfo {

namespace {

constexpr std::uint8_t kFirstKana = 0xA1;
constexpr std::uint8_t kVoiced = 0xDE;
constexpr std::uint8_t kSemiVoiced = 0xDF;

// Readings of 0xA1-0xDF on their own; the middle dot and the two marks read
// as single Latin-1 characters.
constexpr std::array<std::string_view, 63> kAlone{{
    ".",   "'",   "'",  ",",  "\xB7", "wo", "xa", "xi", "xu", "xe", "xo", "xya", "xyu", "xyo", "tt",   "-",
    "a",   "i",   "u",  "e",  "o",    "ka", "ki", "ku", "ke", "ko", "sa", "shi", "su",  "se",  "so",   "ta",
    "chi", "tsu", "te", "to", "na",   "ni", "nu", "ne", "no", "ha", "hi", "fu",  "he",  "ho",  "ma",   "mi",
    "mu",  "me",  "mo", "ya", "yu",   "yo", "ra", "ri", "ru", "re", "ro", "wa",  "n",   "\"",  "\xB0",
}};

struct Marked {
    std::uint8_t code;
    std::uint8_t mark;
    std::string_view reading;
};

constexpr std::array<Marked, 26> kMarked{{
    {0xB3, kVoiced, "vu"},     {0xB6, kVoiced, "ga"},     {0xB7, kVoiced, "gi"},     {0xB8, kVoiced, "gu"},
    {0xB9, kVoiced, "ge"},     {0xBA, kVoiced, "go"},     {0xBB, kVoiced, "za"},     {0xBC, kVoiced, "ji"},
    {0xBD, kVoiced, "zu"},     {0xBE, kVoiced, "ze"},     {0xBF, kVoiced, "zo"},     {0xC0, kVoiced, "da"},
    {0xC1, kVoiced, "dji"},    {0xC2, kVoiced, "du"},     {0xC3, kVoiced, "de"},     {0xC4, kVoiced, "do"},
    {0xCA, kVoiced, "ba"},     {0xCB, kVoiced, "bi"},     {0xCC, kVoiced, "bu"},     {0xCD, kVoiced, "be"},
    {0xCE, kVoiced, "bo"},     {0xCA, kSemiVoiced, "pa"}, {0xCB, kSemiVoiced, "pi"}, {0xCC, kSemiVoiced, "pu"},
    {0xCD, kSemiVoiced, "pe"}, {0xCE, kSemiVoiced, "po"},
}};

// A syllable (with its mark, or 0) followed by a small kana in [first, last]
// reads as the prefix and the small kana's vowel: KI + small YA is "kya".
struct Combination {
    std::uint8_t code;
    std::uint8_t mark;
    std::string_view prefix;
    std::uint8_t first = 0xA7;
    std::uint8_t last = 0xAE;
};

constexpr std::array<Combination, 16> kCombinations{{
    {0xB7, 0, "ky"},
    {0xB7, kVoiced, "gy"},
    {0xBC, 0, "sh"},
    {0xBC, kVoiced, "j"},
    {0xC1, 0, "ch"},
    {0xC1, kVoiced, "dj"},
    {0xC6, 0, "ny"},
    {0xCB, 0, "hy"},
    {0xCB, kVoiced, "by"},
    {0xCB, kSemiVoiced, "py"},
    {0xD0, 0, "my"},
    {0xD8, 0, "ry"},
    {0xC2, kVoiced, "ts"},
    {0xB3, kVoiced, "v", 0xA7, 0xAB},  // small vowels only
    {0xBD, kVoiced, "z", 0xA8, 0xA8},  // small I only
    {0xC3, kVoiced, "d", 0xA8, 0xA8},
}};

// Vowels of small A I U E O and small YA YU YO.
constexpr std::string_view kSmallVowels = "aiueoauo";

const Marked* FindMarked(std::uint8_t code, std::uint8_t mark) {
    for (const Marked& m : kMarked) {
        if (m.code == code && m.mark == mark) return &m;
    }
    return nullptr;
}

// The combined reading, or the empty text when the pair does not combine.
std::string FindCombination(std::uint8_t code, std::uint8_t mark, std::uint8_t small) {
    for (const Combination& c : kCombinations) {
        if (c.code == code && c.mark == mark && small >= c.first && small <= c.last) {
            return std::string(c.prefix) + kSmallVowels[small - 0xA7];
        }
    }
    return {};
}

std::string Alone(std::uint8_t code) {
    if (code == '\\') return std::string(1, kYenSign);
    if (code >= 0x20 && code <= 0x7E) return std::string(1, static_cast<char>(code));
    if (code >= kFirstKana && code <= kSemiVoiced) return std::string(kAlone[code - kFirstKana]);
    return {};
}

// Appends the reading of the character at p, with the mark and small kana
// that combine with it, and returns how many codes that used.
std::size_t ReadAt(std::string_view title, std::size_t p, std::string& out) {
    // Past the end reads as 0, which neither marks nor combines.
    auto code = [&](std::size_t i) { return i < title.size() ? static_cast<std::uint8_t>(title[i]) : std::uint8_t{0}; };
    const std::uint8_t c = code(p);
    if (const Marked* marked = FindMarked(c, code(p + 1))) {
        std::string combined = FindCombination(c, marked->mark, code(p + 2));
        if (combined.empty()) {
            out += marked->reading;
            return 2;
        }
        out += combined;
        return 3;
    }
    std::string combined = FindCombination(c, 0, code(p + 1));
    if (!combined.empty()) {
        out += combined;
        return 2;
    }
    out += Alone(c);
    return 1;
}

}  // namespace

std::string RomajiReading(std::string_view title) {
    std::string reading;
    for (std::size_t p = 0; p < title.size();) p += ReadAt(title, p, reading);
    if (!reading.empty() && reading[0] >= 'a' && reading[0] <= 'z') reading[0] = static_cast<char>(reading[0] - 32);
    return reading;
}

std::string RomajiReadingUtf8(std::string_view title) {
    return rom::Latin1ToUtf8(RomajiReading(title));
}

}  // namespace kestro::rominfo
