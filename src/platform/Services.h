// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The services a window receives from its opener. Only the platform folder
// talks to QMessageBox, QFileDialog, QSettings and QProcess.

#include <QString>
#include <functional>

#include "base/Clock.h"
#include "base/Message.h"
#include "base/ProcessLauncher.h"
#include "base/Registry.h"
#include "base/SettingsStore.h"

class QWidget;

namespace kestro::platform {

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    /// Shows the box and returns the button pressed. Texts keep the program's
    /// CR line breaks; the implementation turns them into lines for display.
    virtual base::MessageResult Show(QWidget* parent, const QString& title, const QString& text, base::MessageIcon icon,
                                     base::MessageButtons buttons, base::MessageResult defaultButton) = 0;

    base::MessageResult Show(QWidget* parent, const base::Message& message);
};

/// Runs a write to another program's registry; a failure (error 26001) is
/// shown in its message box. True when the write went through.
bool WriteRegistryOrShowError(MessageBoxService& messages, QWidget* parent, const std::function<void()>& write);

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    /// The filter is in its designed form "Name (*.vb)|*.vb|All Files (*.*)|*.*".
    /// Returns the chosen path, or an empty text on cancel.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                             const QString& fileName) = 0;
    /// Never asks its own overwrite question: the program asks its own.
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                             const QString& fileName) = 0;
};

/// The bundle every window gets from its opener.
struct Services {
    MessageBoxService& messages;
    FileDialogService& files;
    base::SettingsStore& settings;
    base::ProcessLauncher& processes;
    base::Clock& clock;
    /// Where other programs' registry values live (a Wine prefix on Linux).
    base::RegistryBackend& registry;
};

}  // namespace kestro::platform
