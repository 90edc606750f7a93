// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture that reports clicks, right-button releases and the mouse
// entering it: the building block of the themed menu and the About window.
// A click is a left press and a release inside, as on a button.

#include <QLabel>

namespace kestro::platform {

class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(const QString& objectName, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();
    void rightReleased();
    void mouseEntered();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    bool m_leftPressed = false;
};

}  // namespace kestro::platform
