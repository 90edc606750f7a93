// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kestro::platform {

PictureBox::PictureBox(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_leftPressed = true;
    QLabel::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_leftPressed) {
        m_leftPressed = false;
        // Released off the picture: the user changed their mind.
        if (rect().contains(event->position().toPoint())) Q_EMIT clicked();
    }
    if (event->button() == Qt::RightButton) Q_EMIT rightReleased();
    QLabel::mouseReleaseEvent(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved();
    // Kept here: a window that reacts to moves over itself must not take a
    // move over the picture for one over its background.
    event->accept();
}

void PictureBox::enterEvent(QEnterEvent* event) {
    Q_EMIT mouseEntered();
    QLabel::enterEvent(event);
}

}  // namespace kestro::platform

namespace kestro::platform {

void PictureBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space: Q_EMIT clicked(); return;
        case Qt::Key_Left:
        case Qt::Key_Up: focusPreviousChild(); return;
        case Qt::Key_Right:
        case Qt::Key_Down: focusNextChild(); return;
        default: QLabel::keyPressEvent(event);
    }
}

void PictureBox::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    Q_EMIT focusEntered();
}

// A dotted frame in the text colour, which the dark pictures leave visible.
void PictureBox::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::BrightText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace kestro::platform
