// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture that reports clicks, right-button releases and the mouse
// entering it: the building block of the themed menu and the About window.
// A click is a left press and a release inside, as on a button. A picture
// given a focus policy is a keyboard button too: it shows a focus frame,
// Enter or Space click it and the arrow keys move on as Tab does.

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
    void focusEntered();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_leftPressed = false;
};

}  // namespace kestro::platform
