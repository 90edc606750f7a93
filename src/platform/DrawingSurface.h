// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture box that shows an image drawn elsewhere and keeps it for
// copying and saving, enlarged or not, and reports the characters typed on it.

#include <QFrame>
#include <QImage>

namespace kestro::platform {

class DrawingSurface final : public QFrame {
    Q_OBJECT
public:
    /// area is the drawing area inside the border, in pixels.
    DrawingSurface(const QString& objectName, QSize area, QWidget* parent = nullptr);

    /// Shows this image from now on; it may share the memory of a buffer that
    /// is still being drawn, and each repaint shows what it holds then.
    void SetImage(const QImage& image);
    /// The persistent image, as shown (null before anything was drawn).
    const QImage& Image() const { return m_image; }

    /// Screen pixels per image pixel (1 to 4); the surface grows with it.
    void SetZoom(int zoom);
    int Zoom() const { return m_zoom; }

    /// The colour shown where there is no image.
    void SetBackColour(const QColor& colour);
    QColor BackColour() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    /// A key that types a character was pressed; the character's code.
    void keyPressed(int characterCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSize m_area;
    QImage m_image;
    int m_zoom = 1;
};

}  // namespace kestro::platform
