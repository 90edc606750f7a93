#pragma once
// Small builders for controls that carry their design names.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

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

}  // namespace kestro::platform
