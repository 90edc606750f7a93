// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtServices.h"

#include "platform/DialogFit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTime>
#include <QTreeView>
#include <QUrl>
#include <chrono>
#include <optional>

#include "base/FileRead.h"
#include "base/ProcessStart.h"
#include "base/SettingsKeys.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::platform {

using base::MessageButtons;
using base::MessageIcon;
using base::MessageResult;

namespace {

struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

base::MessageResult MessageBoxService::Show(QWidget* parent, const base::Message& m) {
    return Show(parent, Q(m.title), Q(m.text), m.icon, m.buttons, m.defaultButton);
}

bool WriteRegistryOrShowError(MessageBoxService& messages, QWidget* parent, const std::function<void()>& write) {
    std::optional<base::Message> failure;
    {
        // Through a running wineserver a write takes up to a second: the
        // window shows that it is busy rather than seem to hang.
        const BusyCursor busy;
        try {
            write();
        } catch (const base::RegistryError& error) {
            failure = base::RegistryErrorMessage(error);
        }
    }
    if (failure) messages.Show(parent, *failure);
    return !failure;
}

QString DisplayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return QMessageBox::Critical;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(MessageResult r) {
    switch (r) {
        case MessageResult::Ok: return QMessageBox::Ok;
        case MessageResult::Cancel: return QMessageBox::Cancel;
        case MessageResult::Yes: return QMessageBox::Yes;
        case MessageResult::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

}  // namespace

void FitMessageBoxToText(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr) return;
    // Qt wraps a message at half the screen; the program's texts break their
    // own lines, so each line keeps whole as long as the screen has room,
    // and the box is never narrower than its caption.
    const QFontMetrics metrics(label->font());
    int widest = QFontMetrics(QApplication::font()).horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = box.screen();
    const int room = screen != nullptr ? screen->availableGeometry().width() * 3 / 4 : widest;
    label->setMinimumWidth(std::min(widest, room));
}

MessageResult QtMessageBox::Show(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                                 MessageButtons buttons, MessageResult defaultButton) {
    QMessageBox box(ToQtIcon(icon), title, DisplayText(text), QMessageBox::NoButton, parent);
    switch (buttons) {
        case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    box.setDefaultButton(ToQtButton(defaultButton));
    FitMessageBoxToText(box);
    switch (box.exec()) {
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        default: break;
    }
    // Closing a Yes/No box with the window's close button counts as its safe answer.
    if (buttons == MessageButtons::YesNo) return MessageResult::No;
    if (buttons == MessageButtons::OkCancel) return MessageResult::Cancel;
    return MessageResult::Ok;
}

QString ToQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (p == QStringLiteral("*.*")) {
                patterns << QStringLiteral("*");
            } else {
                patterns << p.toLower();
                if (p.toUpper() != p.toLower()) patterns << p.toUpper();
            }
        }
        // The name carries its own "(*.vb)"; Qt reads the patterns from the
        // last parentheses, so they are replaced by the full list.
        name.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
        entries << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(")");
    }
    return entries.join(QStringLiteral(";;"));
}

namespace {
QString StartPath(const QString& directory, const QString& fileName) {
    if (fileName.isEmpty()) return directory;
    if (QFileInfo(fileName).isAbsolute()) return fileName;
    return QDir(directory).filePath(fileName);
}
}  // namespace

void WidenFileDialog(QFileDialog& dialog) {
    dialog.resize(std::max(dialog.width(), kFileDialogSize.width()),
                  std::max(dialog.height(), kFileDialogSize.height()));
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (details == nullptr || model == nullptr) return;
    // Size, type and date columns as wide as what they show, not cut to "512...KiB".
    QObject::connect(model, &QFileSystemModel::directoryLoaded, details, [details] {
        for (int column = 1; column < details->model()->columnCount(); ++column)
            details->resizeColumnToContents(column);
    });
}

namespace {
QString RunFileDialog(QFileDialog& dialog) {
    WidenFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
}  // namespace

QString QtFileDialogs::OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                                const QString& fileName) {
    QFileDialog dialog(parent, title, StartPath(directory, fileName), ToQtFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return RunFileDialog(dialog);
}

QString QtFileDialogs::SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& directory,
                                const QString& fileName) {
    QFileDialog dialog(parent, title, StartPath(directory, fileName), ToQtFilter(filter));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return RunFileDialog(dialog);
}

namespace {

// Where QSettings keeps the per-user INI file of "Kestro Utils".
QString DefaultIniPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/") +
           Q(base::kSettingsApplication) + QStringLiteral("/") + Q(base::kSettingsApplication) + QStringLiteral(".ini");
}

// QSettings reads its file when it is made: a FIFO there would block start-up
// and a directory could never be written. Neither is opened.
QString SpecialFileProblem(const QString& path) {
    if (!base::IsSpecialFile(U8(path))) return {};
    return path + QStringLiteral(": ") + QString::fromUtf8(base::kNotARegularFile);
}

// The value of a key in the file's "Settings" section as it is written,
// blanks around it trimmed; nothing when it is not there plainly (quoted or
// with escapes, which the INI reader has read right already).
std::optional<QString> PlainIniValue(const QString& path, const QString& key) {
    QFile file(path);
    if (base::IsSpecialFile(U8(path)) || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    bool inSection = false;
    const QString section = QLatin1Char('[') + Q(base::kSettingsSection) + QLatin1Char(']');
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0) continue;
        // Keys are written with %XX escapes ("Base%20Directory").
        const QString name = QUrl::fromPercentEncoding(line.left(equals).trimmed().toUtf8());
        if (name != key) continue;
        const QString value = line.mid(equals + 1).trimmed();
        if (value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('\\'))) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace

namespace {
QString CannotWrite(const QString& path) {
    return path + QStringLiteral(": the file or its folder cannot be written");
}
}  // namespace

QtSettingsStore::QtSettingsStore() : m_path(DefaultIniPath()) {
    m_problem = SpecialFileProblem(m_path);
    if (m_problem.isEmpty()) {
        m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                 Q(base::kSettingsApplication), Q(base::kSettingsApplication));
        m_path = m_settings->fileName();
    }
}

QtSettingsStore::QtSettingsStore(const QString& iniPath) : m_path(iniPath) {
    m_problem = SpecialFileProblem(m_path);
    if (m_problem.isEmpty()) m_settings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

std::optional<std::string> QtSettingsStore::Find(const std::string& key) const {
    if (!m_settings) {
        auto it = m_unsaved.find(key);
        if (it == m_unsaved.end()) return std::nullopt;
        return it->second;
    }
    const QString path = Q(base::kSettingsSection) + QLatin1Char('/') + Q(key);
    if (!m_settings->contains(path)) return std::nullopt;
    const QVariant value = m_settings->value(path);
    // A hand-edited value with a comma ("/home/me/VB, roms") is read by the INI
    // format as a list; every value of ours is one text, taken as written.
    if (value.typeId() == QMetaType::QStringList) {
        return U8(PlainIniValue(m_path, Q(key)).value_or(value.toStringList().join(QStringLiteral(", "))));
    }
    return U8(value.toString());
}

void QtSettingsStore::Write(const std::string& key, const std::string& value) {
    if (!m_settings) {
        m_unsaved[key] = value;
        return;
    }
    const QString path = Q(base::kSettingsSection) + QLatin1Char('/') + Q(key);
    // A value already stored as this very text costs no rewrite of the file
    // (a hand-edited list is still written back as one text); whether the
    // file could have taken it is still found out.
    if (const QVariant stored = m_settings->value(path);
        stored.typeId() == QMetaType::QString && stored.toString() == Q(value)) {
        if (!m_settings->isWritable() && m_problem.isEmpty()) m_problem = CannotWrite(m_path);
        return;
    }
    m_settings->setValue(path, Q(value));
    m_dirty = true;
    if (m_batchDepth == 0) Sync();
}

void QtSettingsStore::BeginBatch() {
    ++m_batchDepth;
}

void QtSettingsStore::EndBatch() {
    if (m_batchDepth > 0 && --m_batchDepth == 0 && m_dirty) Sync();
}

void QtSettingsStore::Sync() {
    m_dirty = false;
    if (!m_settings) return;
    // QSettings writes a temporary file and renames it over the old one.
    m_settings->sync();
    ++m_syncs;
    if (m_settings->status() != QSettings::NoError && m_problem.isEmpty()) {
        m_problem = CannotWrite(m_path);
    }
}

std::string QtSettingsStore::Problem() const {
    return U8(m_problem);
}

base::LaunchResult QtProcessLauncher::Start(const base::LaunchRequest& request) {
    // One plan for the windows and `kestro play`: the core resolves the
    // program, chooses its runner and starts it detached.
    const base::LaunchPlan plan = base::PlanLaunch(request, base::CurrentLaunchEnvironment());
#if defined(_WIN32)
    if (!plan.ok) return {false, plan.error};
    QStringList args;
    for (std::size_t i = 1; i < plan.argv.size(); ++i) args << Q(plan.argv[i]);
    if (!QProcess::startDetached(Q(plan.argv[0]), args, Q(plan.workingDirectory))) {
        return {false, "Cannot start " + plan.program + "."};
    }
    return {true, {}};
#else
    return base::StartPlanned(plan);
#endif
}

double QtClock::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace kestro::platform
