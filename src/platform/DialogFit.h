// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes and file dialogs sized to what they show.

#include <QSize>

class QFileDialog;
class QMessageBox;

namespace kestro::platform {

/// Widens a message box to its caption and to its longest line, so that
/// neither is cut short or broken where the text does not break it.
void FitMessageBoxToText(QMessageBox& box);

/// Room for a file dialog's name, size, type and date columns side by side.
inline constexpr QSize kFileDialogSize{860, 480};
/// Opens the dialog at that size and fits its detail columns to their contents.
void WidenFileDialog(QFileDialog& dialog);

}  // namespace kestro::platform
