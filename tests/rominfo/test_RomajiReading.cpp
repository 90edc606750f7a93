// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "rominfo/RomajiReading.h"

namespace kestro::rominfo {
namespace {

TEST(RomajiReading, ReadsTheKnownTitlesAndCodesOutsideTheKatakana) {
    EXPECT_EQ(RomajiReading("\xC4\xCB\xDE\xC0\xDE\xBE\x21\xCA\xDF\xC6\xCE\xDE\xDD"), "Tobidase!panibon");
    EXPECT_EQ(RomajiReadingUtf8("V\xA5TETRIS"), "V\xC2\xB7TETRIS");

    // Letter case, and codes outside the katakana.
    EXPECT_EQ(RomajiReading(""), "");
    EXPECT_EQ(RomajiReading("mario~"), "Mario~") << "up to 0x7E a code reads as itself";
    EXPECT_EQ(RomajiReading("\xAF\xB6"), "Ttka");
    EXPECT_EQ(RomajiReading("\xA6"), "Wo");
    EXPECT_EQ(RomajiReading("C:\\"), "C:\xA5");
    // Control codes, 0x7F-0xA0 and 0xE0-0xFF are dropped, so a title padded with NULs reads as without them.
    EXPECT_EQ(RomajiReading(std::string("a\x00\x1F\x7F\x80\xA0\xE0\xFF"
                                        "b\x00\x00",
                                        11)),
              "Ab");
    EXPECT_EQ(RomajiReading("\xA1\xA2\xA3\xA4\xA5\xB0"), ".'',\xB7-");
}

TEST(RomajiReading, EverySyllableAloneAndMarked) {
    std::string syllables;
    for (int code = 0xB1; code <= 0xDD; ++code) syllables += static_cast<char>(code);
    EXPECT_EQ(RomajiReading(syllables),
              "Aiueokakikukekosashisusesotachitsutetonaninunenohahifuhehomamimumemoyayuyorarirurerowan");

    EXPECT_EQ(RomajiReading("\xB3\xDE\xB6\xDE\xB7\xDE\xB8\xDE\xB9\xDE\xBA\xDE\xBB\xDE\xBC\xDE\xBD\xDE\xBE\xDE\xBF\xDE"
                            "\xC0\xDE\xC1\xDE\xC2\xDE\xC3\xDE\xC4\xDE\xCA\xDE\xCB\xDE\xCC\xDE\xCD\xDE\xCE\xDE"),
              "Vugagigugegozajizuzezodadjidudedobabibubebo");
    EXPECT_EQ(RomajiReading("\xCA\xDF\xCB\xDF\xCC\xDF\xCD\xDF\xCE\xDF"), "Papipupepo");

    // A mark the syllable does not take is read by itself.
    EXPECT_EQ(RomajiReading("\xC5\xDE"), "Na\"");
    EXPECT_EQ(RomajiReading("\xB6\xDF"), "Ka\xB0");
    EXPECT_EQ(RomajiReading("\xDE"), "\"");
    EXPECT_EQ(RomajiReading("\xB6\xDE\xDE"), "Ga\"");
}

TEST(RomajiReading, SmallKanaCombinations) {
    EXPECT_EQ(RomajiReading("\xB7\xA7\xB7\xA8\xB7\xA9\xB7\xAA\xB7\xAB\xB7\xAC\xB7\xAD\xB7\xAE"),
              "Kyakyikyukyekyokyakyukyo");
    EXPECT_EQ(RomajiReading("\xB7\xAC\xB7"), "Kyaki");
    EXPECT_EQ(RomajiReading("\xBC\xAD\xBC\xDE\xAA"), "Shuje");
    EXPECT_EQ(RomajiReading("\xC1\xAE\xC1\xDE\xAD"), "Chodju");
    EXPECT_EQ(RomajiReading("\xC2\xDE\xA7\xC2\xDE\xAC"), "Tsatsa");

    // The three that take small vowels only, two of them small I only.
    EXPECT_EQ(RomajiReading("\xB3\xDE\xA7\xB0"), "Va-");
    EXPECT_EQ(RomajiReading("\xB3\xDE\xAB\xB3\xDE\xAC"), "Vovuxya");
    EXPECT_EQ(RomajiReading("\xBD\xDE\xA8\xBD\xDE\xA7"), "Zizuxa");
    EXPECT_EQ(RomajiReading("\xC3\xDE\xA8\xC3\xDE\xA9"), "Didexu");

    // Any other pairing is read code by code.
    EXPECT_EQ(RomajiReading("\xB6\xAC"), "Kaxya");
    EXPECT_EQ(RomajiReading("\xB7\xDF\xAC"), "Ki\xB0xya");
    EXPECT_EQ(RomajiReading("\xB7\xAF"), "Kitt");
}

}  // namespace
}  // namespace kestro::rominfo
