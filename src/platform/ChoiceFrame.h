// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One entry of a chooser: a captioned frame holding the entry's picture and
// its greyed variant. A click on the frame or the picture chooses the entry;
// an entry that is switched off shows the greyed picture and takes no click.
// From the keyboard, Tab or the arrow keys move between the entries that are
// offered, and Enter or Space choose the one with the focus frame.

#include <QGroupBox>

class QLabel;

namespace kestro::platform {

class ChoiceFrame final : public QGroupBox {
    Q_OBJECT
public:
    /// name: the entry's short name; the frame is "fra" + name, the pictures
    /// "img" + name and "img" + name + "Grey". art: the picture's resource,
    /// drawn in the themed menu's red, and greyed in its dim grey.
    ChoiceFrame(const QString& name, const QString& caption, const QString& tooltip, const QString& art,
                QWidget* parent = nullptr);

    /// Offered or greyed out.
    void setChoosable(bool choosable);

Q_SIGNALS:
    void clicked();

protected:
    // A press on a picture reaches the frame too: pictures do not take it.
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    /// Gives the focus to the next (or previous) entry that is offered.
    void FocusNeighbour(int direction);

private:
    QLabel* m_picture = nullptr;
    QLabel* m_greyed = nullptr;
};

}  // namespace kestro::platform
