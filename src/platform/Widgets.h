// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small builders for controls that carry their design names.

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

namespace kestro::platform {

/// The widget, given its design name (so tests and tools find it).
template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// A menu command with its object name and caption (access key included).
inline QAction* AddAction(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

/// A menu or submenu with its object name and caption.
template <typename Parent>
QMenu* AddMenu(Parent* parent, const char* name, const char* caption) {
    QMenu* menu = parent->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

/// A push button with its design name and caption, added to a row or column.
inline QPushButton* AddButton(QWidget* parent, QBoxLayout* box, const char* name, const char* caption) {
    auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
    box->addWidget(button);
    return button;
}

/// Makes a vertical number bar count up the way it points: its upper arrow,
/// the Up key, Page Up and the wheel turned up all raise the number, and the
/// greatest number sits at the top. Qt steps a vertical bar's value down for
/// each of these, so every step is turned round; dragging already follows
/// the turned-round picture.
inline void CountUpward(QScrollBar* bar) {
    bar->setInvertedAppearance(true);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
        const bool step = action >= QAbstractSlider::SliderSingleStepAdd && action <= QAbstractSlider::SliderPageStepSub;
        const bool wheel = action == QAbstractSlider::SliderMove && !bar->isSliderDown();
        if (step || wheel) bar->setSliderPosition(2 * bar->value() - bar->sliderPosition());
    });
}

/// Room a title bar takes beside its caption: icon, buttons, margins.
inline constexpr int kTitleBarExtras = 150;

/// Fixes a small window at its layout's size, but wide enough for its
/// caption, which a title bar would otherwise cut ("Lo...").
inline void FixSizeShowingCaption(QWidget* window) {
    const QSize hint = window->sizeHint();
    const int caption = QFontMetrics(QApplication::font()).horizontalAdvance(window->windowTitle()) + kTitleBarExtras;
    window->setFixedSize(std::max(hint.width(), caption), hint.height());
}

/// Leaves Enter to the window's designed default button alone: Qt otherwise
/// makes a dialog's first button its default, so that Enter in a text box or
/// a list presses a button the user never chose. Call once the buttons exist.
inline void KeepOnlyDesignedDefault(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isDefault()) button->setAutoDefault(false);
    }
}

}  // namespace kestro::platform
