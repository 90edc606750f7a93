// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions at the edge between core text (UTF-8 or title bytes) and QString.

#include <QFont>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace kestro::platform {

inline QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string U8(const QString& text) {
    return text.toUtf8().toStdString();
}

/// A single-byte title as shown: katakana bytes as half-width katakana,
/// control codes left out as the caption's reading leaves them out.
QString TitleToDisplay(std::string_view bytes);
/// The title bytes behind a displayed text; characters no byte shows become "?".
std::string DisplayToTitle(const QString& text);

/// A single-byte header field (maker code, game code) as shown: one
/// character per byte, read as Latin-1, so that every byte comes back as it was.
inline QString FieldToDisplay(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
/// The field bytes behind a displayed text; characters beyond Latin-1 become "?".
inline std::string DisplayToField(const QString& text) {
    return text.toLatin1().toStdString();
}

/// A romaji reading as shown: single-byte text in which the middle dot, the
/// degree sign and the yen sign are their Latin-1 codes.
inline QString ReadingToDisplay(std::string_view latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

/// A font that draws half-width katakana, at the given point size.
QFont KatakanaFont(int pointSize = 0);
/// The family found at start-up, for windows created later.
void SetKatakanaFontFamily(const QString& family);
/// A fixed-pitch font for lists padded by display width: the katakana face
/// when it draws a double-width character at exactly two columns and a
/// half-width one at one, else the system's fixed-pitch font.
QFont ColumnFont();

/// Design twips to pixels (15 twips a pixel).
constexpr int Twips(int twips) {
    return twips / 15;
}

}  // namespace kestro::platform
