// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DrawingSurface.h"

#include <QKeyEvent>
#include <QPainter>

namespace kestro::platform {

DrawingSurface::DrawingSurface(const QString& objectName, QSize area, QWidget* parent) : QFrame(parent), m_area(area) {
    setObjectName(objectName);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

QSize DrawingSurface::sizeHint() const {
    return m_area + QSize(2 * frameWidth(), 2 * frameWidth());
}

void DrawingSurface::SetImage(const QImage& image) {
    m_image = image;
    update();
}

void DrawingSurface::SetBackColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QColor DrawingSurface::BackColour() const {
    return palette().color(QPalette::Window);
}

void DrawingSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_image.isNull()) return;
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_image);
}

void DrawingSurface::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) {
        QFrame::keyPressEvent(event);
        return;
    }
    Q_EMIT keyPressed(static_cast<int>(text.at(0).unicode()));
}

}  // namespace kestro::platform
