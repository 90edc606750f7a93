// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Short checks of a window's state: the one message box a step shows, and
// many controls' states in one string.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QWidget>
#include <string>

#include "support/gui/TestServices.h"

namespace kestro::test {

/// Takes the boxes shown so far; exactly one is expected (else the test fails
/// and an empty message comes back, so that the checks after it fail too).
inline base::Message TakeOne(ScriptedMessageBox& boxes) {
    const auto shown = boxes.Take();
    EXPECT_EQ(shown.size(), 1u) << (shown.empty() ? "no box" : shown.back().title);
    return shown.size() == 1 ? shown[0] : base::Message{};
}

enum class State { Enabled, Visible, Checked };

/// One letter per named control, menu or command, in order: '1' when it is
/// enabled (visible, checked), '0' when not, '?' when there is none of that name.
inline std::string States(QObject* parent, std::initializer_list<const char*> names, State state) {
    std::string states;
    for (const char* name : names) {
        const QString n = QString::fromLatin1(name);
        QAction* action = parent->findChild<QAction*>(n);
        if (auto* menu = parent->findChild<QMenu*>(n)) action = menu->menuAction();
        auto* w = parent->findChild<QWidget*>(n);
        auto* button = qobject_cast<QAbstractButton*>(w);
        bool on = false;
        if (action != nullptr) {
            on = state == State::Checked   ? action->isChecked()
                 : state == State::Visible ? action->isVisible()
                                           : action->isEnabled();
        } else if (state == State::Checked && button != nullptr) {
            on = button->isChecked();
        } else if (state != State::Checked && w != nullptr) {
            on = state == State::Visible ? w->isVisible() : w->isEnabled();
        } else {
            states += '?';
            continue;
        }
        states += on ? '1' : '0';
    }
    return states;
}
inline std::string Enabled(QObject* parent, std::initializer_list<const char*> names) {
    return States(parent, names, State::Enabled);
}
inline std::string Visible(QObject* parent, std::initializer_list<const char*> names) {
    return States(parent, names, State::Visible);
}
inline std::string Checked(QObject* parent, std::initializer_list<const char*> names) {
    return States(parent, names, State::Checked);
}

}  // namespace kestro::test
