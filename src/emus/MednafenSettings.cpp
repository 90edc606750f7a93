// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/MednafenSettings.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace kestro::emus {

namespace {

constexpr std::array<MednafenChoice, 7> k3DModes{{
    {"anaglyph", "Anaglyph (coloured glasses)"},
    {"cscope", "CyberScope"},
    {"sidebyside", "Side by side"},
    {"vli", "Vertical line interlaced"},
    {"hli", "Horizontal line interlaced"},
    {"left", "Left view only"},
    {"right", "Right view only"},
}};

constexpr std::array<MednafenChoice, 7> kPresets{{
    {"disabled", "Disabled (own colours)"},
    {"red_blue", "Red/Blue"},
    {"red_cyan", "Red/Cyan"},
    {"red_electriccyan", "Red/Electric Cyan"},
    {"red_green", "Red/Green"},
    {"green_magenta", "Green/Magenta"},
    {"yellow_blue", "Yellow/Blue"},
}};

constexpr std::array<MednafenChoice, 2> kCpuModes{{{"fast", "Fast"}, {"accurate", "Accurate"}}};

using K = MednafenKind;

// Names, values, defaults and ranges as Mednafen 1.29's documentation gives them.
const std::array<MednafenSetting, 14> kSettings{{
    {"vb.3dmode", K::Choice, "anaglyph", "3DMode", "3D mode:",
     "How the pictures for the two eyes are shown: for coloured glasses, for a CyberScope, side by side, "
     "interlaced by columns or lines, or one eye's picture alone.",
     k3DModes},
    {"vb.anaglyph.preset", K::Choice, "red_blue", "Preset", "Anaglyph colours:",
     "The colours of the anaglyph glasses. Disabled uses the left and right colours below.", kPresets},
    {"vb.anaglyph.lcolor",
     K::Colour,
     "0xffba00",
     "LColor",
     "Left colour:",
     "The left eye's brightest colour when the anaglyph colours are Disabled (0x000000 to 0xffffff).",
     {},
     0,
     0xFFFFFF},
    {"vb.anaglyph.rcolor",
     K::Colour,
     "0x00baff",
     "RColor",
     "Right colour:",
     "The right eye's brightest colour when the anaglyph colours are Disabled (0x000000 to 0xffffff).",
     {},
     0,
     0xFFFFFF},
    {"vb.default_color",
     K::Colour,
     "0xF0F0F0",
     "DefaultColor",
     "Other modes' colour:",
     "The brightest colour in every 3D mode but anaglyph (0x000000 to 0xffffff).",
     {},
     0,
     0xFFFFFF},
    {"vb.sidebyside.separation",
     K::Whole,
     "0",
     "Separation",
     "Separation:",
     "Pixels between the two pictures in side-by-side mode, counted before scaling (0 to 1024).",
     {},
     0,
     1024},
    {"vb.3dreverse", K::Flag, "0", "3DReverse", "Reverse 3D", "Swaps the left and right eyes' pictures."},
    {"vb.cpu_emulation", K::Choice, "fast", "CpuEmulation", "CPU emulation:",
     "Fast suits nearly every game; Accurate follows the processor's timing and cache more closely, and runs "
     "slower.",
     kCpuModes},
    {"vb.disable_parallax", K::Flag, "0", "Parallax", "Parallax off",
     "Draws backgrounds and sprites without their shift between the eyes."},
    {"vb.instant_display_hack", K::Flag, "0", "InstantDisplay", "Instant display",
     "Shows each frame 20 ms sooner, for less delay; it can cause graphical glitches."},
    {"vb.xscale",
     K::Real,
     "2.000000",
     "Scale",
     "Scale:",
     "The window's size as a multiple of the Virtual Boy's 384 x 224 screen (0.01 to 256).",
     {},
     0.01,
     256},
    {"vb.yscale", K::Real, "2.000000", "YScale", "", "", {}, 0.01, 256, "vb.xscale"},
    {"video.fs", K::Flag, "0", "Fullscreen", "Full screen", "Starts this game in full screen."},
    {"sound", K::Flag, "1", "Sound", "Sound", "Plays the game's sound."},
}};

}  // namespace

std::span<const MednafenSetting> MednafenSettings() {
    return kSettings;
}

const MednafenSetting& MednafenSettingOf(std::string_view key) {
    for (const MednafenSetting& s : kSettings) {
        if (s.key == key) return s;
    }
    throw std::invalid_argument("not a Mednafen setting of ours: " + std::string(key));
}

std::string MednafenColourText(std::uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::optional<std::uint32_t> ParseMednafenColour(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF) return std::nullopt;
    return value;
}

std::string MednafenRealText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

std::optional<std::string> NormalisedMednafenValue(const MednafenSetting& s, std::string_view text) {
    switch (s.kind) {
        case K::Choice:
            for (const MednafenChoice& c : s.choices) {
                if (c.value == text) return std::string(c.value);
            }
            return std::nullopt;
        case K::Flag:
            if (text == "0" || text == "1") return std::string(text);
            return std::nullopt;
        case K::Colour:
            if (auto rgb = ParseMednafenColour(text)) return MednafenColourText(*rgb);
            return std::nullopt;
        case K::Whole: {
            long value = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
            if (value < s.low || value > s.high) return std::nullopt;
            return std::to_string(value);
        }
        case K::Real: {
            const std::string copy(text);
            char* end = nullptr;
            const double value = std::strtod(copy.c_str(), &end);
            if (copy.empty() || end != copy.c_str() + copy.size() || !(value >= s.low && value <= s.high)) {
                return std::nullopt;
            }
            return MednafenRealText(value);
        }
    }
    return std::nullopt;
}

}  // namespace kestro::emus
