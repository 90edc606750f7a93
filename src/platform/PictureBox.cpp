// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PictureBox.h"

#include <QMouseEvent>

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
