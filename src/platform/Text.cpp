// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Text.h"

#include <QFontDatabase>
#include <QFontMetrics>

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

QFont ColumnFont() {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (g_katakanaFamily.isEmpty()) return fixed;
    QFont font(g_katakanaFamily);
    font.setPointSize(fixed.pointSize() > 0 ? fixed.pointSize() : 10);
    const QFontMetrics m(font);
    const int column = m.horizontalAdvance(QLatin1Char('0'));
    const bool twoToOne = column > 0 && m.horizontalAdvance(QStringLiteral("W.")) == 2 * column &&
                          m.horizontalAdvance(QChar(0xFF71)) == column &&
                          m.horizontalAdvance(QChar(0x30D6)) == 2 * column;
    return twoToOne ? font : fixed;
}

void SetKatakanaFontFamily(const QString& family) {
    g_katakanaFamily = family;
}

}  // namespace kestro::platform
