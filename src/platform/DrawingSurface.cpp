// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DrawingSurface.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

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
    return m_area * m_zoom + QSize(2 * frameWidth(), 2 * frameWidth());
}

void DrawingSurface::SetZoom(int zoom) {
    m_zoom = std::clamp(zoom, 1, 4);
    setFixedSize(sizeHint());
    update();
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
    // Whole blocks per pixel, no smoothing: tiles stay crisp when enlarged.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(contentsRect().topLeft(), m_image.size() * m_zoom), m_image);
}

void DrawingSurface::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    // Esc belongs to the window, which closes on it like every other one.
    if (text.isEmpty() || event->key() == Qt::Key_Escape) {
        QFrame::keyPressEvent(event);
        return;
    }
    Q_EMIT keyPressed(static_cast<int>(text.at(0).unicode()));
}

}  // namespace kestro::platform
