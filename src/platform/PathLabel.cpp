// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PathLabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace kestro::platform {

QString ShortenedAtEnd(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    // Qt's own elision ends in a single ellipsis character; the program's
    // labels end in three full stops, so the cut is found here.
    const QString dots = QStringLiteral("...");
    qsizetype fits = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle) + dots) <= width) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    return text.left(fits) + dots;
}

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void PathLabel::setPath(const QString& path) {
    setToolTip(path);
    Shorten();
}

QSize PathLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Shorten();
}

void PathLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) Shorten();
}

void PathLabel::Shorten() {
    const int room = contentsRect().width() - 2 * margin();
    setText(ShortenedAtEnd(toolTip(), fontMetrics(), room > 0 ? room : 0));
}

}  // namespace kestro::platform
