// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts a tool window shares with the others: its menus ("&File" with
// "&Back to main menu", "&Help" with its own help command) and its help text.

#include <QString>

class QAction;
class QMenu;
class QDialog;
class QPlainTextEdit;
class QVBoxLayout;

namespace kestro::platform {

struct ToolMenus {
    QAction* mnuFileBack;  ///< closes the window
    QAction* mnuHelpHelp;
    QMenu* mnuHelp;
};

/// Gives the window its vertical layout with the menu bar on top; "&Back to
/// main menu" closes the window.
ToolMenus AddToolMenus(QDialog* window, const char* helpCaption);

/// The read-only help box txtHelp at the foot of the window's layout; its
/// text keeps the program's line breaks for the help window to show.
QPlainTextEdit* AddHelpBox(QDialog* window, const QString& text);

}  // namespace kestro::platform
