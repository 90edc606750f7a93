// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Virtual Boy settings of Mednafen the front-end keeps per game: their
// names, value sets, ranges and defaults as Mednafen's documentation gives
// them, and the values in the form Mednafen writes them.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kestro::emus {

enum class MednafenKind {
    Choice,  ///< one word of a list
    Flag,    ///< 0 or 1
    Colour,  ///< 0xRRGGBB
    Whole,   ///< a whole number in a range
    Real,    ///< a number with a fraction, written with six decimals
};

struct MednafenChoice {
    std::string_view value;    ///< Mednafen's word ("sidebyside")
    std::string_view caption;  ///< shown in the window ("Side by side")
};

/// One Mednafen setting the front-end keeps per game.
struct MednafenSetting {
    std::string_view key;  ///< "vb.3dmode"
    MednafenKind kind;
    std::string_view defaultValue;  ///< Mednafen's own default, as Mednafen writes it
    std::string_view name;          ///< control name after its prefix ("3DMode": cmb3DMode)
    std::string_view caption;
    std::string_view help;  ///< one or two sentences for the tool tip and the help text
    std::span<const MednafenChoice> choices{};
    double low = 0;
    double high = 0;
    /// Not shown on its own: written with this other setting's value (the Y scale follows the X scale).
    std::string_view sameAs{};
};

/// The settings, in the window's order.
std::span<const MednafenSetting> MednafenSettings();
const MednafenSetting& MednafenSettingOf(std::string_view key);

namespace mednafen_keys {
inline constexpr std::string_view k3DMode = "vb.3dmode";
inline constexpr std::string_view kPreset = "vb.anaglyph.preset";
inline constexpr std::string_view kLeftColour = "vb.anaglyph.lcolor";
inline constexpr std::string_view kRightColour = "vb.anaglyph.rcolor";
inline constexpr std::string_view kDefaultColour = "vb.default_color";
inline constexpr std::string_view kSeparation = "vb.sidebyside.separation";
}  // namespace mednafen_keys

/// A colour as Mednafen writes one: "0x" and six lower-case hex digits.
std::string MednafenColourText(std::uint32_t rgb);
/// "0xRRGGBB" in either case, or a decimal number, up to 0xFFFFFF.
std::optional<std::uint32_t> ParseMednafenColour(std::string_view text);
/// A real as Mednafen writes one: six decimals ("2.000000").
std::string MednafenRealText(double value);

/// The value in the form we write it, when the text is one the setting
/// takes (a choice of its list, 0/1, a number in its range); else nothing.
std::optional<std::string> NormalisedMednafenValue(const MednafenSetting& setting, std::string_view text);

}  // namespace kestro::emus
