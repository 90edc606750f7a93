// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt implementations of the services.

#include <QSettings>
#include <map>
#include <memory>

#include "platform/Services.h"

namespace kestro::platform {

class QtMessageBox final : public MessageBoxService {
public:
    using MessageBoxService::Show;
    base::MessageResult Show(QWidget* parent, const QString& title, const QString& text, base::MessageIcon icon,
                             base::MessageButtons buttons, base::MessageResult defaultButton) override;
};

class QtFileDialogs final : public FileDialogService {
public:
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                     const QString& fileName) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                     const QString& fileName) override;
};

/// QSettings in INI format under "Kestro Utils", group "Settings"; every
/// write that changes a value is synced to disk at once (at the end of a
/// batch, in one atomic rewrite of the file). When its file is not a regular file (a
/// FIFO, a directory) it is never opened: the settings are then kept in
/// memory for the session, and Problem says why.
class QtSettingsStore final : public base::SettingsStore {
public:
    QtSettingsStore();
    /// A store in the given INI file (for tests and portable use).
    explicit QtSettingsStore(const QString& iniPath);
    std::optional<std::string> Find(const std::string& key) const override;
    void Write(const std::string& key, const std::string& value) override;
    void BeginBatch() override;
    void EndBatch() override;
    std::string Problem() const override;
    QString FileName() const { return m_path; }
    /// How many times the file has been written.
    int Syncs() const { return m_syncs; }

private:
    QString m_path;
    QString m_problem;
    std::unique_ptr<QSettings> m_settings;
    std::map<std::string, std::string> m_unsaved;
    int m_batchDepth = 0;
    bool m_dirty = false;
    int m_syncs = 0;

    void Sync();
};

class QtProcessLauncher final : public base::ProcessLauncher {
public:
    base::LaunchResult Start(const base::LaunchRequest& request) override;
};

class QtClock final : public base::Clock {
public:
    double Seconds() const override;
};

/// Converts a designed filter ("Name (*.vb)|*.vb|All Files (*.*)|*.*") into
/// Qt's form, matching extensions without regard to case.
QString ToQtFilter(const QString& filter);

/// Display form of a message text: CR, CR LF and LF all become line breaks.
QString DisplayText(const QString& text);

}  // namespace kestro::platform
