// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChoiceFrame.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "platform/ThemeArt.h"

namespace kestro::platform {

namespace {
constexpr int kFocusFrameWidth = 2;
}

ChoiceFrame::ChoiceFrame(const QString& name, const QString& caption, const QString& tooltip, const QString& art,
                         QWidget* parent)
    : QGroupBox(caption, parent) {
    setObjectName(QStringLiteral("fra") + name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    auto picture_label = [this, &tooltip](const QString& objectName, const QPixmap& pixmap) {
        auto* label = new QLabel(this);
        label->setObjectName(objectName);
        label->setPixmap(pixmap);
        label->setToolTip(tooltip);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    m_picture = picture_label(QStringLiteral("img") + name, ThemePicture(art, 0, Shade::Lit));
    m_greyed = picture_label(QStringLiteral("img") + name + QStringLiteral("Grey"), ThemePicture(art, 1, Shade::Unlit));
    m_greyed->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picture);
    layout->addWidget(m_greyed);
}

void ChoiceFrame::setChoosable(bool choosable) {
    setEnabled(choosable);
    m_picture->setVisible(choosable);
    m_greyed->setVisible(!choosable);
    setCursor(choosable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ChoiceFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        event->accept();
        Q_EMIT clicked();
        return;
    }
    QGroupBox::mousePressEvent(event);
}

// A group box keeps Space for a check box it does not have here; an entry
// is chosen with it.
bool ChoiceFrame::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        Q_EMIT clicked();
        return true;
    }
    return QGroupBox::event(event);
}

void ChoiceFrame::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: Q_EMIT clicked(); return;
        case Qt::Key_Left:
        case Qt::Key_Up: FocusNeighbour(-1); return;
        case Qt::Key_Right:
        case Qt::Key_Down: FocusNeighbour(+1); return;
        default: QGroupBox::keyPressEvent(event);
    }
}

void ChoiceFrame::FocusNeighbour(int direction) {
    if (parentWidget() == nullptr) return;
    const auto entries = parentWidget()->findChildren<ChoiceFrame*>(Qt::FindDirectChildrenOnly);
    const auto count = static_cast<int>(entries.size());
    const int self = static_cast<int>(entries.indexOf(this));
    // Round the row, past greyed entries, as far as back to this one.
    for (int step = 1; step < count; ++step) {
        ChoiceFrame* next = entries[((self + direction * step) % count + count) % count];
        if (next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// A group box draws no focus: the chosen entry gets a frame in the
// highlight colour, thick enough to see on the red pictures.
void ChoiceFrame::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFrameWidth));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

}  // namespace kestro::platform
