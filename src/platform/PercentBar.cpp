// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PercentBar.h"

#include <QLabel>
#include <QPainter>

namespace kestro::platform {

PercentBar::PercentBar(const QString& barName, const QString& labelName, QWidget* parent) : QFrame(parent) {
    setObjectName(barName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setMinimumHeight(22);
    m_label = new QLabel(this);
    m_label->setObjectName(labelName);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetPercent(0);
}

void PercentBar::SetPercent(int percent) {
    m_percent = percent;
    m_label->setText(QString::number(percent) + QLatin1Char('%'));
    // Over the filled half the text is drawn in the highlight's own text colour.
    QPalette colours = m_label->palette();
    colours.setColor(QPalette::WindowText,
                     palette().color(percent >= 50 ? QPalette::HighlightedText : QPalette::ButtonText));
    m_label->setPalette(colours);
    m_label->adjustSize();
    CentreLabel();
    update();
}

void PercentBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const int filled = m_percent >= 100 ? area.width() : m_percent <= 0 ? 0 : area.width() * m_percent / 100;
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter.fillRect(area, palette().color(group, QPalette::Button));
    painter.fillRect(QRect(area.left(), area.top(), filled, area.height()),
                     palette().color(group, QPalette::Highlight));
    painter.end();
    QFrame::paintEvent(event);
}

void PercentBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    CentreLabel();
}

void PercentBar::CentreLabel() {
    m_label->move(width() / 2 - m_label->width() / 2, (height() - m_label->height()) / 2);
}

}  // namespace kestro::platform
