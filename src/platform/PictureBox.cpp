#include "platform/PictureBox.h"

#include <QMouseEvent>

namespace kestro::platform {

PictureBox::PictureBox(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT clicked();
    QLabel::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) Q_EMIT rightReleased();
    QLabel::mouseReleaseEvent(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void PictureBox::enterEvent(QEnterEvent* event) {
    Q_EMIT mouseEntered();
    QLabel::enterEvent(event);
}

}  // namespace kestro::platform
