// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8Text.h"

namespace kestro::base {

namespace {

bool Continuation(unsigned char b, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return b >= low && b <= high;
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

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const std::size_t length = Utf8SequenceLength(text.substr(at));
        at += length == 0 ? 1 : length;
    }
    return count;
}

std::size_t CharacterOffset(std::string_view text, std::size_t index) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < index && at < text.size(); ++n) {
        const std::size_t length = Utf8SequenceLength(text.substr(at));
        at += length == 0 ? 1 : length;
    }
    return at;
}

}  // namespace kestro::base
