// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/TitleText.h"

namespace kestro::rom {

char32_t TitleByteToCodepoint(unsigned char byte) {
    if (byte >= 0xA1 && byte <= 0xDF) return static_cast<char32_t>(byte) + 0xFEC0;
    return byte;
}

std::optional<unsigned char> CodepointToTitleByte(char32_t cp) {
    if (cp >= 0xFF61 && cp <= 0xFF9F) return static_cast<unsigned char>(cp - 0xFEC0);
    if (cp <= 0xFF && !(cp >= 0xA1 && cp <= 0xDF)) return static_cast<unsigned char>(cp);
    return std::nullopt;
}

namespace {
void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
}  // namespace

std::string TitleToUtf8(std::string_view bytes) {
    std::string out;
    for (char c : bytes) AppendUtf8(out, TitleByteToCodepoint(static_cast<unsigned char>(c)));
    return out;
}

bool IsShownTitleByte(unsigned char byte) {
    return byte >= 0x20 && !(byte >= 0x7F && byte < 0xA0);
}

std::string ShownTitleUtf8(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        if (IsShownTitleByte(static_cast<unsigned char>(c)))
            AppendUtf8(out, TitleByteToCodepoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

std::optional<std::string> Utf8ToTitle(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        int extra = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else {
            return std::nullopt;
        }
        if (i + extra >= utf8.size()) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (c & 0x3F);
        }
        auto byte = CodepointToTitleByte(cp);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
        i += 1 + extra;
    }
    return out;
}

std::string HexText(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::optional<std::string> BytesFromHex(std::string_view hex) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    std::size_t i = 0;
    while (i < hex.size()) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= hex.size()) return std::nullopt;
        int hi = nibble(hex[i]);
        int lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

}  // namespace kestro::rom
