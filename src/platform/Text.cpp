// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Text.h"

#include "rom/TitleText.h"

namespace kestro::platform {

namespace {
QString g_katakanaFamily;
}

QString TitleToDisplay(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (rom::IsShownTitleByte(byte)) text.append(QChar(static_cast<char16_t>(rom::TitleByteToCodepoint(byte))));
    }
    return text;
}

std::string DisplayToTitle(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        auto byte = rom::CodepointToTitleByte(ch.unicode());
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

QFont KatakanaFont(int pointSize) {
    QFont font;
    if (!g_katakanaFamily.isEmpty()) font.setFamilies(QStringList{g_katakanaFamily});
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

void SetKatakanaFontFamily(const QString& family) {
    g_katakanaFamily = family;
}

}  // namespace kestro::platform
