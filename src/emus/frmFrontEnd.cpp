// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmFrontEnd.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/RunLog.h"
#include "base/SettingsKeys.h"
#include "emus/EmulatorRun.h"
#include "emus/RunLogMessages.h"
#include "help/frmHelp.h"
#include "platform/RomChooser.h"
#include "platform/RunLogView.h"
#include "platform/Text.h"
#include "platform/ToolWindow.h"
#include "platform/Widgets.h"

namespace kestro::emus {

frmFrontEnd::frmFrontEnd(platform::Services& services, const Shape& shape, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_topic(QString::fromLatin1(shape.topic)),
      m_logNames(QString::fromLatin1(shape.logNames)) {
    setObjectName(QString::fromLatin1(shape.name));
    setWindowTitle(QString::fromLatin1(shape.caption));
    const platform::ToolMenus menus = platform::AddToolMenus(this, shape.helpCaption);
    mnuFileBack = menus.mnuFileBack;
    mnuHelpHelp = menus.mnuHelpHelp;
    mnuHelpLog = platform::AddAction(menus.mnuHelp, "mnuHelpLog", "Last Run's &Log...");
    m_rom = new platform::RomChooser(m_services, this);
    Body()->addLayout(m_rom->Row());
    connect(mnuHelpHelp, &QAction::triggered, this, &frmFrontEnd::mnuHelpHelp_Click);
    connect(mnuHelpLog, &QAction::triggered, this, &frmFrontEnd::mnuHelpLog_Click);
}

frmFrontEnd::~frmFrontEnd() = default;

QVBoxLayout* frmFrontEnd::Body() const {
    return static_cast<QVBoxLayout*>(layout());
}

void frmFrontEnd::AddHelp(const std::string& text) {
    txtHelp = platform::AddHelpBox(this, platform::Q(text));
    // The window's buttons all exist by now; none of them is a designed default.
    platform::KeepOnlyDesignedDefault(this);
}

void frmFrontEnd::LoadRomChoice() {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    m_rom->Load(m_baseDirectory);
}

void WatchQuickFailure(platform::Services& services, QWidget* window, const std::string& emulator,
                       const base::StartRecord& started) {
    platform::WhenEndedSoon(window, started.exit, [&services, window, emulator, log = started.log](int status) {
        if (status != 0) services.messages.Show(window, QuickFailureMessage(emulator, status, log));
    });
}

void ShowLastRunLog(platform::Services& services, QWidget* window, const std::string& emulator,
                    const std::string& lastLog, const std::vector<std::string>& names) {
    const std::string log = lastLog.empty() ? base::NewestRunLog(names) : lastLog;
    if (log.empty()) {
        services.messages.Show(window, NoRunLogMessage(emulator));
        return;
    }
    platform::ShowRunLog(window, platform::Q(emulator) + QStringLiteral(" Log"), log);
}

void frmFrontEnd::Carry(const PreparedRun& run) {
    base::TakeLastStart();  // nothing of an earlier start is taken for this one
    const RunOutcome outcome = CarryOut(run, m_services.processes);
    const base::StartRecord start = base::TakeLastStart();
    for (const base::Message& m : outcome.messages) m_services.messages.Show(this, m);
    if (!start.log.empty()) m_lastLog = start.log;
    WatchQuickFailure(m_services, this, run.emulator, start);
}

void frmFrontEnd::mnuHelpLog_Click() {
    std::vector<std::string> names;
    for (const QString& name : m_logNames.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        names.push_back(platform::U8(name));
    ShowLastRunLog(m_services, this, platform::U8(m_topic), m_lastLog, names);
}

void frmFrontEnd::mnuHelpHelp_Click() {
    help::ShowHelpTopic(m_services, this, m_topic, txtHelp->toPlainText());
}

}  // namespace kestro::emus
