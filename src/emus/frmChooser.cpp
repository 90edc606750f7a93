// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmChooser.h"

#include <QHBoxLayout>

#include "platform/ChoiceFrame.h"
#include "platform/Text.h"

namespace kestro::emus {

using platform::Q;

frmChooser::frmChooser(platform::Services& services, const char* name, const char* caption,
                       const ChooserEntries& programs, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_entries(programs.begin(), programs.end()),
      m_programs(programs.size()),
      fraEntry(programs.size(), nullptr) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromLatin1(caption));
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

void frmChooser::BuildControls() {
    auto* row = new QHBoxLayout(this);
    for (std::size_t i = 0; i < fraEntry.size(); ++i) {
        const ProgramInfo& info = InfoOf(m_entries[i]);
        fraEntry[i] = new platform::ChoiceFrame(Q(info.name), Q(info.entry), Q(info.tooltip), Q(info.art), this);
        row->addWidget(fraEntry[i]);
    }
    setFixedSize(sizeHint());
}

void frmChooser::ConnectHandlers() {
    for (std::size_t i = 0; i < fraEntry.size(); ++i) {
        connect(fraEntry[i], &platform::ChoiceFrame::clicked, this, [this, i] { fraEntry_Click(static_cast<int>(i)); });
    }
}

void frmChooser::Form_Load() {
    GetRegistry();
    for (std::size_t i = 0; i < fraEntry.size(); ++i) fraEntry[i]->setChoosable(m_programs[i].enabled);
}

void frmChooser::GetRegistry() {
    for (std::size_t i = 0; i < m_programs.size(); ++i) {
        m_programs[i] = ReadProgramSettings(m_services.settings, m_entries[i]);
    }
}

void frmChooser::fraEntry_Click(int entry) {
    const auto i = static_cast<std::size_t>(entry);
    const Choice choice = ChooseProgram(m_entries[i], m_programs[i].directory);
    if (!choice.found) {
        m_services.messages.Show(this, *choice.message);
        return;
    }
    ProgramFound(m_entries[i], choice);
}

}  // namespace kestro::emus
