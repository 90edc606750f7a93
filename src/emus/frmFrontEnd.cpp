// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmFrontEnd.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/SettingsKeys.h"
#include "help/frmHelp.h"
#include "platform/RomChooser.h"
#include "platform/Text.h"
#include "platform/ToolWindow.h"
#include "platform/Widgets.h"

namespace kestro::emus {

frmFrontEnd::frmFrontEnd(platform::Services& services, const Shape& shape, QWidget* parent)
    : QDialog(parent), m_services(services), m_topic(QString::fromLatin1(shape.topic)) {
    setObjectName(QString::fromLatin1(shape.name));
    setWindowTitle(QString::fromLatin1(shape.caption));
    const platform::ToolMenus menus = platform::AddToolMenus(this, shape.helpCaption);
    mnuFileBack = menus.mnuFileBack;
    mnuHelpHelp = menus.mnuHelpHelp;
    m_rom = new platform::RomChooser(m_services, this);
    Body()->addLayout(m_rom->Row());
    connect(mnuHelpHelp, &QAction::triggered, this, &frmFrontEnd::mnuHelpHelp_Click);
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

void frmFrontEnd::mnuHelpHelp_Click() {
    help::ShowHelpTopic(m_services, this, m_topic, txtHelp->toPlainText());
}

}  // namespace kestro::emus
