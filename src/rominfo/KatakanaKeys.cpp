// SPDX-License-Identifier: GPL-3.0-or-later
#include "rominfo/KatakanaKeys.h"

namespace kestro::rominfo {

unsigned char KatakanaButtonCode(int index) {
    // Syllables A..RO, then WA, WO, N, the small kana and the marks.
    static constexpr std::array<unsigned char, 20> kAfterSyllables = {
        0xDC, 0xA6, 0xDD, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD,
        0xAE, 0xAF, 0xB0, 0xA1, 0xA4, 0xA2, 0xA3, 0xA5, 0xDE, 0xDF,
    };
    if (index >= 0 && index <= 42) return static_cast<unsigned char>(0xB1 + index);
    if (index >= 43 && index < kKatakanaButtonCount) return kAfterSyllables[static_cast<std::size_t>(index - 43)];
    return 0;
}

std::optional<std::string_view> KatakanaButtonTooltip(unsigned char code) {
    switch (code) {
        case 0xA5: return "Middle Dot";
        case 0xA3: return "Right Corner Bracket";
        case 0xA2: return "Left Corner Bracket";
        case 0xA4: return "Ideographic Comma";
        case 0xA1: return "Ideographic Full Stop";
        case 0xB0: return "Prolonged Sound Mark";
        case 0xAF: return "Small TSU";
        case 0xAE: return "Small YO";
        case 0xAD: return "Small YU";
        case 0xAC: return "Small YA";
        case 0xAB: return "Small O";
        case 0xAA: return "Small E";
        case 0xA9: return "Small U";
        case 0xA8: return "Small I";
        case 0xA7: return "Small A";
        case 0xDF: return "Semi-Voiced Sound Mark";
        case 0xDE: return "Voiced Sound Mark";
        case 0xA6: return "O (WO)";
        case 0xCC: return "FU (HU)";
        case 0xCB: return "(HYI) HI";
        case 0xC6: return "NYI (NI)";
        case 0xC2: return "TSU (TU)";
        case 0xC1: return "CHI (TI)";
        case 0xBC: return "SHI (SI)";
        default: return std::nullopt;
    }
}

KeyPlace KatakanaButtonPlace(int index) {
    if (index < 35) return {index % 5, index / 5};  // A .. MO
    if (index < 38) return {(index - 35) * 2, 7};   // YA YU YO on the a, u, o rows
    if (index < 43) return {index - 38, 8};         // RA .. RO
    if (index == 43) return {0, 9};                 // WA
    if (index == 44) return {4, 9};                 // WO
    if (index == 45) return {0, 10};                // N
    if (index < 51) return {index - 46, 11};        // small A .. O
    if (index < 54) return {(index - 51) * 2, 12};  // small YA YU YO
    return {5, index - 54};                         // small TSU, marks, punctuation
}

}  // namespace kestro::rominfo
