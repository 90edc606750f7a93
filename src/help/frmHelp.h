// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help window: one topic, shown with the help text of the window it
// belongs to, or the program's own identification-codes text.

#include <QDialog>

#include "platform/Services.h"

class QPlainTextEdit;

namespace kestro::help {

class frmHelp final : public QDialog {
    Q_OBJECT
public:
    /// topicKey is read when the window loads; sourceText is the help text of
    /// the window that asked (unused by the identification-codes topic).
    frmHelp(platform::Services& services, const QString& topicKey, const QString& sourceText,
            QWidget* parent = nullptr);

private:
    void Form_Load(const QString& topicKey, const QString& sourceText);
    void WidenForLines();

    platform::Services& m_services;
    QPlainTextEdit* txtHelp = nullptr;
};

/// Opens the help window modally on a topic.
void ShowHelpTopic(platform::Services& services, QWidget* parent, const QString& topicKey, const QString& sourceText);

}  // namespace kestro::help
