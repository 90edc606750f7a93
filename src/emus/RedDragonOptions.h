// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Red Dragon's options.dat: "key=0000" lines, CR LF ended, read with the
// quirks of the program that wrote them before us.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestro::emus {

/// The fourteen controller inputs, in the members' order.
enum RedDragonKey {
    kKeyA,
    kKeyB,
    kKeyLeftTrigger,
    kKeyRightTrigger,
    kKeyLeftUp,
    kKeyLeftDown,
    kKeyLeftLeft,
    kKeyLeftRight,
    kKeyRightUp,
    kKeyRightDown,
    kKeyRightLeft,
    kKeyRightRight,
    kKeyStart,
    kKeySelect,
    kRedDragonKeyCount
};
using RedDragonKeys = std::array<int, kRedDragonKeyCount>;

/// The values of an options file.
struct RedDragonOptions {
    int platform = 0;     ///< 0 Win, 1 DOS
    int frameSkip = 0;    ///< 0-9
    int displayMode = 0;  ///< index of the display modes
    int swap3D = 0;       ///< 1 when checked
    int palette = 0;      ///< index of the palettes
    int screenWidth = 0;
    int screenHeight = 0;
    int screenMode = 0;  ///< the screen mode's code, not its index
    RedDragonKeys keys{};
    friend bool operator==(const RedDragonOptions&, const RedDragonOptions&) = default;
};

/// One line of the file: its key and the value it holds.
struct RedDragonOptionLine {
    std::string_view key;
    int RedDragonOptions::*field;  ///< a scalar value, or
    int keyIndex;                  ///< a key code (when field is null)
};

/// The lines in the order they are written.
inline constexpr std::array<RedDragonOptionLine, 22> kRedDragonOptionLines{{
    {"platform", &RedDragonOptions::platform, -1},
    {"frmskip", &RedDragonOptions::frameSkip, -1},
    {"dspmode", &RedDragonOptions::displayMode, -1},
    {"dspswap", &RedDragonOptions::swap3D, -1},
    {"palmod", &RedDragonOptions::palette, -1},
    {"scrx", &RedDragonOptions::screenWidth, -1},
    {"scry", &RedDragonOptions::screenHeight, -1},
    {"scrmode", &RedDragonOptions::screenMode, -1},
    {"lu", nullptr, kKeyLeftUp},
    {"ld", nullptr, kKeyLeftDown},
    {"ll", nullptr, kKeyLeftLeft},
    {"lr", nullptr, kKeyLeftRight},
    {"ru", nullptr, kKeyRightUp},
    {"rd", nullptr, kKeyRightDown},
    {"rl", nullptr, kKeyRightLeft},
    {"rr", nullptr, kKeyRightRight},
    {"ba", nullptr, kKeyA},
    {"bb", nullptr, kKeyB},
    {"st", nullptr, kKeyStart},
    {"sl", nullptr, kKeySelect},
    {"tl", nullptr, kKeyLeftTrigger},
    {"tr", nullptr, kKeyRightTrigger},
}};

/// The file's name in Red Dragon's directory.
inline constexpr std::string_view kRedDragonOptionsFile = "options.dat";

/// An options.dat longer than this is junk; only its start is read.
inline constexpr std::size_t kMaxOptionsFileRead = 64 * 1024;

/// The options file of a Red Dragon directory: an existing one in any letter
/// case (Red Dragon, under Wine or DOSBox, finds it so), else "options.dat".
std::string RedDragonOptionsPath(const std::string& directory);

/// The values of an options text. Line by line (CR, LF or CR LF), each "="
/// makes a key of the characters before it in lower case; a known key takes
/// the leading number of the line's last four characters. "palmode" and
/// "palmod" are both the palette; "scrmode=lu=NNNN" is screen mode 0 and the
/// left-pad-up code; later lines win; unknown keys, lines without "=" and
/// empty lines are ignored; unset values are 0.
RedDragonOptions ParseRedDragonOptions(std::string_view text);

/// The file read, or nothing when there is no options file. A binary or huge
/// file is read only as far as kMaxOptionsFileRead.
std::optional<RedDragonOptions> ReadRedDragonOptions(const std::string& path);

/// A value as written: four digits with leading zeros; 1000 and more as they are.
std::string FourDigits(int value);

/// The whole file: every line in order, each ended by CR LF.
std::string RedDragonOptionsText(const RedDragonOptions& options);

}  // namespace kestro::emus
