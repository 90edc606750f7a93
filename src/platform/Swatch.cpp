// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Swatch.h"

#include <QPalette>

namespace kestro::platform {

Swatch::Swatch(const QString& objectName, QWidget* parent) : QFrame(parent) {
    setObjectName(objectName);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
}

void Swatch::SetBackColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QColor Swatch::BackColour() const {
    return palette().color(QPalette::Window);
}

}  // namespace kestro::platform
