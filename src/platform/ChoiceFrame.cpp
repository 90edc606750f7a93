// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChoiceFrame.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "platform/ThemeArt.h"

namespace kestro::platform {

ChoiceFrame::ChoiceFrame(const QString& name, const QString& caption, const QString& tooltip, const QString& art,
                         QWidget* parent)
    : QGroupBox(caption, parent) {
    setObjectName(QStringLiteral("fra") + name);
    setCursor(Qt::PointingHandCursor);
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

}  // namespace kestro::platform
