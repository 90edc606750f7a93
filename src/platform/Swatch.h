// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain coloured boxes: the tile viewer's swatches and the palette previews.

#include <QColor>
#include <QFrame>

#include "tiles/TilePalette.h"

namespace kestro::platform {

inline QColor ToQColor(tiles::Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

/// A bordered box filled with one colour, its background colour.
class Swatch final : public QFrame {
    Q_OBJECT
public:
    explicit Swatch(const QString& objectName, QWidget* parent = nullptr);
    void SetBackColour(const QColor& colour);
    QColor BackColour() const;
};

}  // namespace kestro::platform
